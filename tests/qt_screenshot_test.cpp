// The window as an X display shows it, after a folder was chosen and a key typed; saved under
// the build folder for people to look at.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "tests/qt_window_fixture.h"

namespace kesmaro::ui::qt {
namespace {

TEST_F(QtWindowTest, Screenshot) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display (DISPLAY)";
  AddSeries({"1.txt", "2.txt", "3.txt", "10.txt", "11.txt", "12.txt"}, kRows);
  OpenSeriesAndType("550.0");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  QTest::qWait(200);  // let the X server draw what the window sent

  const QImage shot = window_->screen()->grabWindow(window_->winId()).toImage();
  const qreal ratio = window_->devicePixelRatio();
  EXPECT_EQ(shot.size(), window_->size() * ratio);

  // Text3, now editable, shows the window colour right of its text.
  QWidget* text3 = At(ControlId::kText3);
  const QPoint inText3 = text3->mapTo(window_.get(), QPoint(text3->width() - 6, text3->height() / 2));
  EXPECT_EQ(shot.pixelColor(inText3 * ratio),
            QApplication::palette().color(QPalette::Active, QPalette::Base));

  const std::filesystem::path folder = folders_.previous / "screenshots";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(shot.save(QString::fromStdString((folder / "kesmaro-qt.png").string()), "PNG"));
}

}  // namespace
}  // namespace kesmaro::ui::qt
