#include "ui/qt/chart_view.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <span>
#include <string_view>
#include <utility>

#include "chart/chart_drawing.h"

namespace kesmaro::ui::qt {
namespace {

QColor Colour(ChartColour colour) { return QColor::fromRgb(static_cast<QRgb>(colour)); }

QPointF Point(ChartPoint point) { return {point.x, point.y}; }

/// The walk's calls as QPainter's. The grid and the frames are drawn without antialiasing, so
/// that hairlines on whole pixels stay one crisp pixel wide; lines, dots and texts are smoothed.
class PainterCanvas final : public ChartCanvas {
 public:
  explicit PainterCanvas(QPainter& painter) : painter_(painter) {
    for (const std::string_view family : kChartFontFamilies) {
      families_.append(QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size())));
    }
  }

  void Page(double width, double height, ChartColour background, double /*textSize*/,
            std::string_view /*title*/) override {
    painter_.fillRect(QRectF(0, 0, width, height), Colour(background));
  }

  void Text(ChartPoint at, std::string_view text, const ChartTextStyle& style) override {
    QFont font;
    font.setFamilies(families_);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(style.size))));
    font.setBold(style.bold);
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const double advance = QFontMetricsF(font).horizontalAdvance(shown);
    const double x = style.anchor == TextAnchor::kStart    ? at.x
                     : style.anchor == TextAnchor::kMiddle ? at.x - advance / 2
                                                           : at.x - advance;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setFont(font);
    painter_.setPen(Colour(style.colour));
    painter_.drawText(QPointF(x, at.y), shown);
  }

  void Grid(std::span<const ChartSegment> lines, ChartColour colour) override {
    Hairlines(colour);
    for (const ChartSegment& line : lines) painter_.drawLine(Point(line.from), Point(line.to));
  }

  void Frame(double left, double top, double right, double bottom, ChartColour colour) override {
    Hairlines(colour);
    painter_.drawRect(QRectF(left, top, right - left, bottom - top));
  }

  void Line(std::span<const ChartPoint> points, double width, ChartColour colour) override {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(QPen(Colour(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.setBrush(Qt::NoBrush);
    QPolygonF polyline;
    for (const ChartPoint& point : points) polyline.append(Point(point));
    painter_.drawPolyline(polyline);
  }

  void Dots(std::span<const ChartPoint> centres, double radius, ChartColour colour) override {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(Colour(colour));
    for (const ChartPoint& centre : centres) painter_.drawEllipse(Point(centre), radius, radius);
  }

 private:
  void Hairlines(ChartColour colour) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(Colour(colour), 1));
    painter_.setBrush(Qt::NoBrush);
  }

  QPainter& painter_;
  QStringList families_;
};

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void ChartView::SetChart(std::optional<ChartInput> chart) {
  chart_ = std::move(chart);
  update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
  if (!chart_) return;
  QPainter painter(this);
  PaintChart(painter, LayOutChart(*chart_, {static_cast<double>(width()), static_cast<double>(height())}));
}

void PaintChart(QPainter& painter, const ChartLayout& layout) {
  painter.save();
  PainterCanvas canvas(painter);
  DrawChart(layout, canvas);
  painter.restore();
}

}  // namespace kesmaro::ui::qt
