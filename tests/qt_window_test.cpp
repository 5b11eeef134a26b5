// The real Qt widgets of the window, driven with QTest's keys and clicks as a user would drive
// them, on the offscreen platform.

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <functional>

#include "tests/qt_window_fixture.h"
#include "ui/qt/desktop_host.h"

namespace kesmaro::ui::qt {
namespace {

namespace fs = std::filesystem;
using enum ControlId;

QColor BaseOf(QWidget* widget) { return widget->palette().color(QPalette::Active, QPalette::Base); }
bool ReadOnly(QWidget* widget) { return static_cast<QLineEdit*>(widget)->isReadOnly(); }
QString Utf8(const fs::path& path) { return QString::fromStdString(path.string()); }

TEST_F(QtWindowTest, OpensWithEveryControlOfTheLayoutInItsInitialState) {
  Open();
  EXPECT_EQ(window_->windowTitle(), "Kesmaro");
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
  EXPECT_EQ(window_->width(), std::lround(6495 * dpi / 1440));
  EXPECT_EQ(window_->height(), std::lround(6450 * dpi / 1440));
  EXPECT_TRUE(window_->windowIcon().availableSizes().contains(QSize(256, 256)));

  // Each control is a widget named after it, inside its frame, with its caption.
  for (const ControlRow& row : Form1Layout()) {
    auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(row.name.data(), std::ssize(row.name)));
    ASSERT_NE(widget, nullptr) << row.name;
    if (row.container != kForm1) {
      EXPECT_EQ(widget->parentWidget(), At(row.container)) << row.name;
    }
    if (row.id != kText1) {
      EXPECT_EQ(TextOf(row.id).toStdString(), row.caption) << row.name;
    }
  }
  EXPECT_NE(qobject_cast<QGroupBox*>(At(kFrame6)), nullptr);
  EXPECT_NE(qobject_cast<QRadioButton*>(At(kOption2)), nullptr);

  EXPECT_EQ(TextOf(kText1), Utf8(folders_.root));  // the program's folder, without data files
  EXPECT_EQ(TextOf(kLabel8), "0");
  EXPECT_FALSE(At(kText2)->isEnabled());
  EXPECT_TRUE(ReadOnly(At(kText3)));
  EXPECT_EQ(BaseOf(At(kText3)), QColor(0x80, 0x80, 0x80));
  EXPECT_FALSE(At(kCommand2)->isEnabled());
  EXPECT_TRUE(static_cast<QRadioButton*>(At(kOption1))->isChecked());

  QTest::keyClicks(At(kText3), "550");  // a read-only box takes no typing
  EXPECT_EQ(TextOf(kText3), "");
  EXPECT_EQ(TextOf(kLabel6), "还不够精确");

  const QFont data = At(kText4)->font();
  EXPECT_EQ(data.families().value(0), "宋体");
  EXPECT_EQ(data.pointSize(), 12);
  EXPECT_EQ(data.weight(), QFont::Normal);
}

TEST_F(QtWindowTest, TabWalksTheControlsInTheLayoutOrder) {
  AddSeries({"1.txt"}, kRows);
  OpenSeriesAndType("550.0");
  ASSERT_TRUE(At(kCommand2)->isEnabled());
  QApplication::setActiveWindow(window_.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));

  At(kCommand1)->setFocus();
  for (ControlId next : {kText1, kText2, kText3, kText4, kCommand2, kOption1, kCommand1}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), At(next)) << "expected " << Row(next).name;
  }
}

TEST_F(QtWindowTest, ListingsSetTheStatesAndTypingChecksTheKey) {
  AddSeries({"10.txt", "2.txt", "1.txt"}, kRows);
  Open();
  ChooseDataFolder();
  EXPECT_EQ(host_.browseTitles, std::vector<std::string>{"请选择一个文件夹："});
  EXPECT_EQ(TextOf(kText1), Utf8(folders_.data));
  EXPECT_EQ(TextOf(kLabel8), "3");
  EXPECT_TRUE(At(kText2)->isEnabled());
  EXPECT_FALSE(ReadOnly(At(kText3)));
  EXPECT_EQ(BaseOf(At(kText3)), QApplication::palette().color(QPalette::Active, QPalette::Base));

  // The header-line count takes digits and Backspace; editing keys still work.
  auto* text2 = static_cast<QLineEdit*>(At(kText2));
  text2->selectAll();
  QTest::keyClicks(text2, "1a-.2");
  QTest::keyClick(text2, Qt::Key_Return);
  EXPECT_EQ(text2->text(), "12");
  QTest::keyClick(text2, Qt::Key_Backspace);
  QTest::keyClick(text2, Qt::Key_Home);
  QTest::keyClick(text2, Qt::Key_Delete);
  QTest::keyClicks(text2, "3");
  EXPECT_EQ(text2->text(), "3");

  QTest::keyClicks(At(kText3), "5");
  EXPECT_EQ(TextOf(kLabel6), "还不够精确");
  EXPECT_FALSE(At(kCommand2)->isEnabled());
  QTest::keyClicks(At(kText3), "51");  // only "551.5 第一 0.2" begins with 551
  EXPECT_EQ(TextOf(kLabel6), "可以执行");
  EXPECT_EQ(TextOf(kText4), "551.5 第一");
  EXPECT_TRUE(At(kCommand2)->isEnabled());

  host_.chosenFolder = folders_.work;  // no data files there: the boxes lock, their texts stay
  QTest::mouseClick(At(kCommand1), Qt::LeftButton);
  EXPECT_EQ(TextOf(kLabel8), "0");
  EXPECT_FALSE(At(kText2)->isEnabled());
  EXPECT_TRUE(ReadOnly(At(kText3)));
  EXPECT_EQ(BaseOf(At(kText3)), QColor(0x80, 0x80, 0x80));
  EXPECT_FALSE(At(kCommand2)->isEnabled());
  EXPECT_EQ(TextOf(kText3), "551");
}

TEST_F(QtWindowTest, ExtensionIsReadWhenAFolderIsListed) {
  AddSeries({"1.txt", "2.txt"}, kRows);
  AddSeries({"1.asc"}, kRows);
  Open();
  ChooseDataFolder();
  QTest::mouseClick(At(kOption2), Qt::LeftButton);
  EXPECT_FALSE(static_cast<QRadioButton*>(At(kOption1))->isChecked());
  EXPECT_EQ(TextOf(kLabel8), "2");
  ChooseDataFolder();
  EXPECT_EQ(TextOf(kLabel8), "1");
}

TEST_F(QtWindowTest, RunShowsItsProgressTakesNoInputAndShowsTheNotice) {
  AddSeries({"10.txt", "2.txt", "1.txt"}, kRows);
  OpenSeriesAndType("551");
  // Whenever the run lets the event loop in, the user looks at Label9, types and clicks again.
  QStringList shown;
  bool inside = false;
  QTimer meanwhile;
  QObject::connect(&meanwhile, &QTimer::timeout, [&] {
    if (inside) return;
    inside = true;
    if (shown.isEmpty() || shown.back() != TextOf(kLabel9)) shown << TextOf(kLabel9);
    QTest::keyClicks(At(kText3), "9");
    QTest::mouseClick(At(kCommand2), Qt::LeftButton);
    QTest::mouseClick(At(kCommand1), Qt::LeftButton);
    inside = false;
  });
  meanwhile.start(0);
  QTest::mouseClick(At(kCommand2), Qt::LeftButton);
  meanwhile.stop();
  EXPECT_EQ(shown, QStringList({"运行中... 0/3", "运行中... 1/3", "运行中... 2/3", "运行中... 3/3"}));
  EXPECT_EQ(ReadFile(folders_.work / "551.5 第一.txt"), Gbk("1 第一 0.2\r\n2 第一 0.2\r\n10 第一 0.2\r\n"));
  EXPECT_EQ(TextOf(kLabel9), "...");
  EXPECT_EQ(host_.notices, std::vector<std::string>{"提示: 处理完成"});
  EXPECT_EQ(TextOf(kText3), "551");
  EXPECT_EQ(host_.browseTitles.size(), 1u);

  QTest::keyClicks(At(kText3), "9");  // and takes input again afterwards
  EXPECT_EQ(TextOf(kText3), "5519");
}

TEST_F(QtWindowTest, FailedRunNamesTheFileAndSaysNothingWasWritten) {
  AddSeries({"1.txt"}, kRows);
  OpenSeriesAndType("550.0");
  auto* text4 = static_cast<QLineEdit*>(At(kText4));
  std::filesystem::create_directory(folders_.work / std::filesystem::path(u8"结果.txt"));  // in the way
  text4->selectAll();
  text4->insert("结果");  // as an input method enters it; QTest types ASCII only
  QTest::mouseClick(At(kCommand2), Qt::LeftButton);
  EXPECT_EQ(TextOf(kLabel9), "...");
  EXPECT_TRUE(host_.notices.empty());
  ASSERT_EQ(host_.errors.size(), 1u);
  EXPECT_NE(host_.errors[0].find("无法写入输出文件"), std::string::npos) << host_.errors[0];
  EXPECT_NE(host_.errors[0].find("结果.txt"), std::string::npos) << host_.errors[0];
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

/// What a dialog's visible buttons and labels say, tool tips included.
QStringList ShownTexts(QWidget* dialog) {
  QStringList texts;
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
    if (button->isVisible()) texts << button->text() << button->toolTip();
  }
  for (const QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->isVisible()) texts << label->text();
  }
  texts.removeAll(QString());
  return texts;
}

TEST_F(QtWindowTest, DesktopDialogsAskForAFolderAndGiveTheNoticeInChinese) {
  ASSERT_TRUE(Translate(QLocale(QLocale::Chinese, QLocale::China)));
  Open();
  DesktopHost host(*window_);

  QString title;
  QStringList shown;
  WhenModal([&](QWidget* dialog) {
    title = dialog->windowTitle();
    shown = ShownTexts(dialog);
    static_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_TRUE(host.BrowseForFolder("请选择一个文件夹：").empty());
  EXPECT_EQ(title, "请选择一个文件夹：");
  EXPECT_TRUE(shown.contains("取消")) << shown.join(" | ").toStdString();
  // No English word; a mnemonic letter, as in "选择(&C)", is no word.
  EXPECT_TRUE(shown.filter(QRegularExpression("[A-Za-z]{2}")).isEmpty()) << shown.join(" | ").toStdString();

  WhenModal([&](QWidget* dialog) {
    title = dialog->windowTitle();
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    files->setDirectory(Utf8(folders_.data));
    static_cast<QDialog*>(files)->accept();
  });
  EXPECT_EQ(host.BrowseForFolder(""), folders_.data);
  EXPECT_EQ(title, "选择目录");

  QMessageBox::Icon icon = QMessageBox::Critical;
  QString text;
  bool plain = false;
  WhenModal([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    plain = box->textFormat() == Qt::PlainText;  // a file name is never taken for markup
    icon = box->icon();
    for (const QAbstractButton* button : box->buttons()) shown << button->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  shown.clear();
  host.ShowNotice("处理完成", "提示");
  EXPECT_EQ(title, "提示");
  EXPECT_EQ(text, "处理完成");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(shown, QStringList{"确定"});
  EXPECT_TRUE(plain);
}

TEST_F(QtWindowTest, QtsOwnTextsAreChineseForChineseLocalesOnly) {
  const struct {
    const char* locale;
    bool installed;
    const char* ok;
  } cases[] = {{"zh_CN", true, "确定"},
               {"zh_TW", true, "確定"},
               {"zh_HK", true, "確定"},
               {"zh_SG", true, "确定"},
               {"de_DE", false, "OK"},
               {"C", false, "OK"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Translate(QLocale(c.locale)), c.installed) << c.locale;
    const QMessageBox box(QMessageBox::NoIcon, "提示", "处理完成", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), c.ok) << c.locale;
  }
}

}  // namespace
}  // namespace kesmaro::ui::qt
