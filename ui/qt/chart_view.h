#ifndef KESMARO_UI_QT_CHART_VIEW_H_
#define KESMARO_UI_QT_CHART_VIEW_H_

#include <QPainter>
#include <QWidget>
#include <optional>

#include "chart/chart_layout.h"

namespace kesmaro::ui::qt {

/// Paints the chart of a table with QPainter, laid out at the widget's own size; empty until a
/// chart is set.
class ChartView : public QWidget {
 public:
  explicit ChartView(QWidget* parent = nullptr);

  /// nullopt: the view is empty and shows the system's background.
  void SetChart(std::optional<ChartInput> chart);
  const std::optional<ChartInput>& Chart() const { return chart_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<ChartInput> chart_;
};

/// The chart drawn on `painter` (a widget or an image), through the one walk (DrawChart).
void PaintChart(QPainter& painter, const ChartLayout& layout);

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_CHART_VIEW_H_
