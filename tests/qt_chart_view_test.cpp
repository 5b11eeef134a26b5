#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>

#include "tests/chart_pixels.h"
#include "ui/qt/chart_view.h"

namespace kesmaro::ui::qt {
namespace {

std::uint32_t Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

TEST(QtChartTest, PaintsTheLayoutOnAnImage) {
  QImage image(600, 400, QImage::Format_RGB32);
  image.fill(Qt::black);  // so that the page shows it is painted
  const ChartLayout layout = LayOutChart(ChartWithGap(), {600, 400});
  QPainter painter(&image);
  PaintChart(painter, layout);
  painter.end();
  ExpectChartPixels(layout, [&](int x, int y) { return Rgb(image, x, y); });
}

TEST(QtChartTest, ViewIsEmptyUntilAChartIsSetThenFillsItsSize) {
  ChartView view;
  view.resize(520, 330);
  EXPECT_EQ(Rgb(view.grab().toImage(), 5, 5), view.palette().color(QPalette::Window).rgb() & 0xFFFFFFu);
  view.SetChart(ChartWithGap());
  const QImage shot = view.grab().toImage();
  ExpectChartPixels(LayOutChart(*view.Chart(), {520, 330}), [&](int x, int y) { return Rgb(shot, x, y); });
}

}  // namespace
}  // namespace kesmaro::ui::qt
