#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>

#include "tests/chart_pixels.h"
#include "ui/qt/chart_view.h"

namespace kesmaro::ui::qt {
namespace {

std::uint32_t Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

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
