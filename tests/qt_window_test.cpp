// The real Qt window, driven with QTest's keys and clicks on the offscreen platform (96 DPI).

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "tests/window_wiring.h"
#include "ui/qt/chart_view.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"
#include "ui/qt/table_window.h"

namespace kesmaro::ui::qt {
namespace {

std::uint32_t Rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }

/// A user's hands and eyes on a real Qt window of the fixture `Base`.
template <typename Base, typename QtWindow>
class QtHarness : public Base {
 protected:
  Controls& Window() override { return window_; }
  void Type(ControlId box, std::string_view keys) override {
    QWidget* edit = At(box);
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->end(false);
    if (auto* lines = qobject_cast<QPlainTextEdit*>(edit)) lines->moveCursor(QTextCursor::End);
    for (std::size_t start = 0; start <= keys.size();) {
      const std::size_t end = std::min(keys.find('\n', start), keys.size());
      QTest::keyClicks(edit, QString::fromLatin1(keys.data() + start, static_cast<qsizetype>(end - start)));
      if (end < keys.size()) QTest::keyClick(edit, Qt::Key_Return);
      start = end + 1;
    }
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

  /// Each control where its window's table puts it at 96 DPI, named by its row and, for screen
  /// readers, by its caption or the name its row gives.
  void ExpectLaidOut(const WindowLayout& layout, std::span<const ControlRow> rows) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96);
    const auto px = [](int twips) { return twips * 96 / kTwipsPerInch; };
    EXPECT_EQ(window_.windowTitle(), QString::fromUtf8(layout.caption));
    EXPECT_EQ(window_.size(), QSize(px(layout.innerWidth), px(layout.innerHeight)));
    for (const ControlRow& row : rows) {
      const TwipRect rect = FormRect(row.id);
      EXPECT_EQ(QRect(At(row.id)->mapTo(&window_, QPoint(0, 0)), At(row.id)->size()),
                QRect(px(rect.left), px(rect.top), px(rect.width), px(rect.height)))
          << row.name;
      EXPECT_EQ(At(row.id)->parentWidget(), row.container == rows[0].container ? &window_ : At(row.container))
          << row.name;
      EXPECT_EQ(At(row.id)->objectName().toStdString(), row.name);
      if (!row.accessible.empty() || (row.kind != ControlKind::kEditBox && !row.caption.empty())) {
        const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(At(row.id));
        ASSERT_NE(accessible, nullptr) << row.name;
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(),
                  row.accessible.empty() ? row.caption : row.accessible)
            << row.name;
      }
      if (row.dataFont) {
        EXPECT_EQ(At(row.id)->font().families().value(0), QString::fromUtf8(kDataFont.face)) << row.name;
        EXPECT_EQ(At(row.id)->font().pointSize(), kDataFont.points) << row.name;
        EXPECT_EQ(At(row.id)->font().weight(), kDataFont.weight) << row.name;
      }
    }
    EXPECT_TRUE(window_.windowIcon().availableSizes().contains(QSize(256, 256)));
  }

  QtWindow window_;
};

class QtWindowTest : public QtHarness<WindowWiringTest, FormWindow> {
 protected:
  void Attach(Form1& form) override {
    window_.Attach(form);
    window_.show();
  }

  /// Qt's own texts in the language of `locale` for the rest of the case, as the program
  /// installs them at start-up; false when Qt has no translation for it.
  bool Translate(const QLocale& locale) {
    translation_ = InstallQtTranslation(locale);
    return translation_ != nullptr;
  }

  std::unique_ptr<QTranslator> translation_;
};

class QtTableWindowTest : public QtHarness<TableWiringTest, TableWindow> {
 protected:
  void Attach(TableForm& form) override {
    window_.Attach(form);
    window_.show();
  }
  bool ChartShown(ControlId id) override { return static_cast<ChartView*>(At(id))->Chart().has_value(); }
};

TEST_F(QtTableWindowTest, EachHandlerFiresAndEachControlsCallReachesItsWidget) { RunWiringTable(); }

TEST_F(QtTableWindowTest, CaptionSizeNamesAndFontAt96Dpi) {
  Do(kWiring[0]);
  ExpectLaidOut(TableFormWindow(), TableFormLayout());
}

TEST_F(QtWindowTest, EachHandlerFiresAndEachControlsCallReachesItsWidget) { RunWiringTable(); }

TEST_F(QtWindowTest, CaptionSizeFontAndIconAt96Dpi) {
  Do(kWiring[0]);
  ExpectLaidOut(Form1Window(), Form1Layout());
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

TEST_F(QtWindowTest, RunPaintsItsProgressAndTakesNoInput) {
  OpenSeriesAndType();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  // Whenever the run lets the event loop in, the user looks at Label9, types and clicks again.
  std::vector<std::string> shown;
  bool inside = false;
  QTimer meanwhile;
  QObject::connect(&meanwhile, &QTimer::timeout, [&] {
    if (inside) return;
    inside = true;
    if (shown.empty() || shown.back() != Shown(kLabel9)) shown.push_back(Shown(kLabel9));
    Type(kText3, "9");
    Click(kCommand2);
    Click(kCommand1);
    inside = false;
  });
  meanwhile.start(0);
  Click(kCommand2);
  meanwhile.stop();
  EXPECT_EQ(shown,
            (std::vector<std::string>{"运行中... 0/3", "运行中... 1/3", "运行中... 2/3", "运行中... 3/3"}));
  EXPECT_EQ(Shown(kText3), "551");
  EXPECT_EQ(host_.browseTitles.size(), 1u);
  EXPECT_EQ(host_.notices.size(), 1u);
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

TEST_F(QtWindowTest, DesktopDialogsAskForAFolderAndGiveTheNoticeInChinese) {
  ASSERT_TRUE(Translate(QLocale(QLocale::Chinese, QLocale::China)));
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
    qobject_cast<QFileDialog*>(dialog)->setDirectory(
        QString::fromStdString(NativeToUtf8(folders_.data.native())));
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(host.BrowseForFolder(""), folders_.data);
  EXPECT_EQ(title, "选择目录");

  QString notice;
  WhenModal([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    // A file name in the text is never taken for markup; one OK button, no icon.
    notice = box->windowTitle() + ": " + box->text() + (box->textFormat() == Qt::PlainText ? " plain" : "") +
             QString(" icon %1 buttons").arg(box->icon());
    for (const QAbstractButton* button : box->buttons()) notice += " " + button->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  host.ShowNotice("处理完成", "提示");
  EXPECT_EQ(notice, "提示: 处理完成 plain icon 0 buttons 确定");
}

TEST_F(QtWindowTest, QtsOwnTextsAreChineseForChineseLocalesOnly) {
  const struct {
    const char* locale;
    bool installed;
    const char* ok;
  } cases[] = {{"zh_CN", true, "确定"}, {"zh_TW", true, "確定"}, {"zh_HK", true, "確定"},
               {"zh_SG", true, "确定"}, {"de_DE", false, "OK"},  {"C", false, "OK"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Translate(QLocale(c.locale)), c.installed) << c.locale;
    const QMessageBox box(QMessageBox::NoIcon, "提示", "处理完成", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), c.ok) << c.locale;
  }
}

}  // namespace
}  // namespace kesmaro::ui::qt
