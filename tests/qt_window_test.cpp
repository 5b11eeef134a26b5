// The real Qt window, driven with QTest's keys and clicks on the offscreen platform (96 DPI).

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/window_wiring.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"

namespace kesmaro::ui::qt {
namespace {

std::uint32_t Rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }

class QtWindowTest : public WindowWiringTest {
 protected:
  Controls& Window() override { return window_; }
  void Attach(Form1& form) override {
    window_.Attach(form);
    window_.show();
  }
  void Type(ControlId box, std::string_view keys) override {
    static_cast<QLineEdit*>(At(box))->end(false);
    QTest::keyClicks(At(box), QString::fromLatin1(keys));
  }
  void Click(ControlId id) override { QTest::mouseClick(At(id), Qt::LeftButton); }
  std::string Shown(ControlId id) override {
    if (auto* frame = qobject_cast<QGroupBox*>(At(id))) return frame->title().toStdString();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(At(id))) return plain->toPlainText().toStdString();
    return At(id)->property("text").toString().toStdString();
  }
  bool Enabled(ControlId id) override { return At(id)->isEnabled(); }
  bool ReadOnly(ControlId id) override { return At(id)->property("readOnly").toBool(); }
  bool Checked(ControlId id) override { return At(id)->property("checked").toBool(); }
  std::uint32_t Painted(ControlId id) override { return Rgb(At(id)->palette().color(QPalette::Base)); }
  std::uint32_t WindowColour() override { return Rgb(QApplication::palette().color(QPalette::Base)); }

  QWidget* At(ControlId id) const { return window_.Control(id); }

  FormWindow window_;
};

TEST_F(QtWindowTest, EachHandlerFiresAndEachControlsCallReachesItsWidget) { RunWiringTable(); }

TEST_F(QtWindowTest, CaptionSizeFontAndIconAt96Dpi) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96);
  Do(kWiring[0]);
  EXPECT_EQ(window_.windowTitle(), "Kesmaro");
  EXPECT_EQ(window_.size(), QSize(433, 430));
  EXPECT_EQ(At(kText3)->geometry(), QRect(88, 24, 177, 25));  // in Frame3
  EXPECT_EQ(At(kText3)->parentWidget(), At(kFrame3));
  EXPECT_EQ(At(kText4)->font().families().value(0), "宋体");
  EXPECT_EQ(At(kText4)->font().pointSize(), 12);
  EXPECT_EQ(At(kText4)->font().weight(), QFont::Normal);
  EXPECT_TRUE(window_.windowIcon().availableSizes().contains(QSize(256, 256)));
}

TEST_F(QtWindowTest, TabWalksTheControlsInTheLayoutOrder) {
  OpenSeriesAndType();
  QApplication::setActiveWindow(&window_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  At(kCommand1)->setFocus();
  for (ControlId next : {kText1, kText2, kText3, kText4, kCommand2, kOption1, kCommand1}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), At(next)) << "expected " << Row(next).name;
  }
  // Delete edits Text2, past its filter of typed characters.
  QTest::keyClick(At(kText2), Qt::Key_Home);
  QTest::keyClick(At(kText2), Qt::Key_Delete);
  EXPECT_EQ(Shown(kText2), "");
}

/// Answers the next modal box once it is open, as a user would.
void WhenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start(10);
}

TEST_F(QtWindowTest, DesktopDialogsAskForAFolderAndGiveTheNotice) {
  DesktopHost host(window_);
  QString title;
  WhenModal([&](QWidget* dialog) {
    title = dialog->windowTitle();
    static_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_TRUE(host.BrowseForFolder("请选择一个文件夹：").empty());
  EXPECT_EQ(title, "请选择一个文件夹：");

  WhenModal([&](QWidget* dialog) {
    title = dialog->windowTitle();
    qobject_cast<QFileDialog*>(dialog)->setDirectory(QString::fromStdString(Utf8(folders_.data)));
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(host.BrowseForFolder(""), folders_.data);
  EXPECT_EQ(title, "选择目录");

  QString shown;
  WhenModal([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    // A file name in the text is never taken for markup; one OK button, no icon.
    shown = box->windowTitle() + ": " + box->text() + (box->textFormat() == Qt::PlainText ? " plain" : "") +
            QString(" icon %1 buttons %2").arg(box->icon()).arg(box->buttons().size());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  host.ShowNotice("处理完成", "提示");
  EXPECT_EQ(shown, "提示: 处理完成 plain icon 0 buttons 1");
}

}  // namespace
}  // namespace kesmaro::ui::qt
