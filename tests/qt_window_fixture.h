#ifndef KESMARO_TESTS_QT_WINDOW_FIXTURE_H_
#define KESMARO_TESTS_QT_WINDOW_FIXTURE_H_

// The real Qt window over a GBK series in a temporary folder, with the folder dialog and the
// notices replaced; the working folder, where the output goes, is a folder of its own.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "tests/scratch_folders.h"
#include "ui/fake_form_host.h"
#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"

namespace kesmaro::ui::qt {

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codePage_ = *CodePageByName("GBK");
    codec_ = MakeTextCodec(codePage_);
    ASSERT_NE(codec_, nullptr);

    host_.programFolder = folders_.root;
  }

  void TearDown() override {
    window_.reset();
    form_.reset();
    translation_.reset();
  }

  /// Qt's own texts in the language of `locale` for the rest of the case, as the program
  /// installs them at start-up; false when Qt has no translation for it.
  bool Translate(const QLocale& locale) {
    translation_.reset();
    translation_ = InstallQtTranslation(locale);
    return translation_ != nullptr;
  }

  std::string Gbk(const std::string& utf8) const { return *codec_->Encode(utf8); }

  /// GBK files with three header lines and CR LF ends.
  void AddSeries(const std::vector<std::string>& names, const std::string& rows) {
    for (const std::string& name : names) {
      std::ofstream(folders_.data / name, std::ios::binary)
          << Gbk("2号分光光度计\r\n波长 吸光度\r\n-----\r\n" + rows);
    }
  }

  void Open() {
    window_ = std::make_unique<FormWindow>();
    form_ = std::make_unique<Form1>(*window_, host_, disk_, *codec_, codePage_.scheme);
    window_->Attach(*form_);
    window_->show();
  }

  QWidget* At(ControlId id) const { return window_->Control(id); }
  QString TextOf(ControlId id) const { return QString::fromStdString(window_->Text(id)); }

  void ChooseDataFolder() {
    host_.chosenFolder = folders_.data;
    QTest::mouseClick(At(ControlId::kCommand1), Qt::LeftButton);
  }

  void OpenSeriesAndType(const QString& key) {
    Open();
    ChooseDataFolder();
    auto* text2 = static_cast<QLineEdit*>(At(ControlId::kText2));
    text2->selectAll();
    QTest::keyClicks(text2, "3");
    QTest::keyClicks(At(ControlId::kText3), key);
  }

  ScratchFolders folders_{"kesmaro-qt", "数据"};
  CodePage codePage_;
  std::unique_ptr<TextCodec> codec_;
  DiskFileSystem disk_;
  FakeFormHost host_;
  std::unique_ptr<FormWindow> window_;
  std::unique_ptr<Form1> form_;
  std::unique_ptr<QTranslator> translation_;
};

inline constexpr const char* kRows = "540.0 0.112\r\n550.0 0.134\r\n551.5 第一 0.2\r\n";

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_TESTS_QT_WINDOW_FIXTURE_H_
