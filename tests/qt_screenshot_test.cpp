// The window as an X display shows it, after a folder was chosen and a key typed; saved under
// the build folder for people to look at. Then a run, whose progress the display shows.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

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

  // The display shows the run's progress in Label9 while it goes on, and "..." again at the end.
  QWidget* label9 = At(ControlId::kLabel9);
  const auto label9OnScreen = [&] {
    const QPoint at = label9->mapTo(window_.get(), QPoint(0, 0));
    return window_->screen()
        ->grabWindow(window_->winId(), at.x(), at.y(), label9->width(), label9->height())
        .toImage();
  };
  const QImage idle = label9OnScreen();
  QImage running;
  QTimer::singleShot(0, [&] { running = label9OnScreen(); });  // once the run lets the event loop in
  QTest::mouseClick(At(ControlId::kCommand2), Qt::LeftButton);
  ASSERT_FALSE(running.isNull()) << "the run never let the event loop in";
  EXPECT_NE(running, idle);
  QTest::qWait(200);
  EXPECT_EQ(label9OnScreen(), idle);
}

}  // namespace
}  // namespace kesmaro::ui::qt
