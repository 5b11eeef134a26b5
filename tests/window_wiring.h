#ifndef KESMARO_TESTS_WINDOW_WIRING_H_
#define KESMARO_TESTS_WINDOW_WIRING_H_

// What every window backend proves the same way: the real window over a GBK series on disk,
// and for each window one table of what a user does and what the real controls then show. The
// forms' own rules are tested on fake controls; these tables prove only that each handler fires
// and each Controls call reaches its control. A backend's suite derives from a fixture and says
// how its toolkit types, clicks and shows.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "core/text/code_page.h"
#include "platform/disk_file_system.h"
#include "platform/native_text.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"
#include "testing/fake_form_host.h"
#include "testing/scratch_folders.h"
#include "ui/form1.h"
#include "ui/table_form.h"

namespace kesmaro::ui {

/// One step of the table: what the user does, then what the window shows.
struct WiringStep {
  ControlId target;     ///< kForm1: open the window; Command1: choose `input`; an edit box: type
  const char* input;    ///< a folder under the scratch root, or keys ('\b' is Backspace)
  const char* folder;   ///< Text1: the folder listed, under the scratch root
  const char* count;    ///< Label8
  bool unlocked;        ///< Text2 enabled, Text3 editable and in the window colour
  const char* verdict;  ///< Label6
  const char* name;     ///< Text4
  bool canRun;          ///< Command2 enabled
  ControlId option;     ///< the selected option button
};

/// One step of the table window's table: what the user does, then what the window shows.
struct TableWiringStep {
  ControlId target;   ///< kTableForm: open the window; the browse button: choose `input`; a box: type
  const char* input;  ///< a folder under the scratch root, or keys ('\b' is Backspace, '\n' Enter)
  const char* count;  ///< the file count label
  bool unlocked;      ///< the header lines and the items can be typed
  const char* verdict;
  bool withinOn;  ///< the largest distance can be typed
  bool canRun;    ///< Execute enabled
  const char* status;
};

/// The series on disk, and a user's hands and eyes on a backend's real window.
class WiringHarness : public ::testing::Test {
 protected:
  using enum ControlId;

  virtual Controls& Window() = 0;
  /// Keys typed at the end of a box's text ('\b' is Backspace, '\n' Enter).
  virtual void Type(ControlId box, std::string_view keys) = 0;
  virtual void Click(ControlId id) = 0;
  /// The text or caption on screen, UTF-8.
  virtual std::string Shown(ControlId id) = 0;
  virtual bool Enabled(ControlId id) = 0;
  virtual bool ReadOnly(ControlId id) = 0;
  /// Whether an option button or a check box is checked.
  virtual bool Checked(ControlId id) = 0;
  /// An edit box's background colour, 0xRRGGBB.
  virtual std::uint32_t Painted(ControlId id) = 0;
  /// The system's colour of a window's text area, 0xRRGGBB.
  virtual std::uint32_t WindowColour() = 0;

  void SetUp() override {
    ASSERT_NE(codec_, nullptr);
    for (const char* name : {"1.txt", "2.txt", "10.txt", "1.asc"}) {
      std::ofstream(folders_.data / name, std::ios::binary)
          << Gbk("2号分光光度计\r\n波长 吸光度\r\n-----\r\n540.0 0.112\r\n550.0 0.134\r\n551.5 第一 0.2\r\n");
    }
    host_.programFolder = folders_.root;
  }

  static std::filesystem::path Path(std::string_view utf8) { return Utf8ToNative(utf8).value(); }
  /// A folder under the scratch root; the root itself for "".
  std::filesystem::path Folder(std::string_view name) const {
    return name.empty() ? folders_.root : folders_.root / Path(name);
  }
  std::string Gbk(std::string_view utf8) const { return codec_->Encode(Path(utf8).native()).value(); }

  ScratchFolders folders_{"kesmaro-window", Path("数据")};
  CodePage codePage_ = *CodePageByName("GBK");
  std::unique_ptr<TextCodec> codec_ = MakeTextCodec(codePage_);
  DiskFileSystem disk_;
  FakeFormHost host_;
};

class WindowWiringTest : public WiringHarness {
 protected:
  // The series: 1.txt, 2.txt, 10.txt and 1.asc in "数据", three header lines each.
  // clang-format off
  static constexpr WiringStep kWiring[] = {
  //   does       input    Text1   Label8 unlocked Label6              Text4          Command2 option
      {kForm1,    "",      "",     "0",   false,   "还不够精确",        "",            false,   kOption1},
      {kCommand1, "数据",  "数据", "3",   true,    "还不够精确",        "",            false,   kOption1},
      {kText3,    "551",   "数据", "3",   true,    "可以执行",          "551.5 第一",  true,    kOption1},
      {kText2,    "x9",    "数据", "3",   true,    "首个文件行数不足",  "551.5 第一",  false,   kOption1},
      {kText2,    "\b3",   "数据", "3",   true,    "可以执行",          "551.5 第一",  true,    kOption1},
      {kCommand2, "",      "数据", "3",   true,    "可以执行",          "551.5 第一",  true,    kOption1},
      {kOption2,  "",      "数据", "3",   true,    "可以执行",          "551.5 第一",  true,    kOption2},
      {kCommand1, "数据",  "数据", "1",   true,    "可以执行",          "551.5 第一",  true,    kOption2},
      // no data files: the only step that locks the boxes, so the only one that shows a locking
      // SetReadOnly and the grey reach the controls
      {kCommand1, "work",  "work", "0",   false,   "可以执行",          "551.5 第一",  false,   kOption2},
  };
  // clang-format on

  /// Connects the window to `form`, which runs Form_Load, and shows it.
  virtual void Attach(Form1& form) = 0;

  void Do(const WiringStep& step) {
    if (step.target == kForm1) {
      form_ = std::make_unique<Form1>(Window(), host_, disk_, *codec_);
      Attach(*form_);
    } else if (step.target == kText2 || step.target == kText3) {
      Type(step.target, step.input);
    } else {
      if (step.target == kCommand1) host_.chosenFolder = Folder(step.input);
      Click(step.target);
    }
  }

  /// Opens the window on the series with the key typed, so that every control is enabled.
  void OpenSeriesAndType() {
    for (const WiringStep& step : std::span(kWiring).first(3)) Do(step);
  }

  void RunWiringTable() {
    for (const WiringStep& step : kWiring) {
      Do(step);
      if (step.target == kForm1) {  // every control as the layout has it, Text1 apart
        for (const ControlRow& row : Form1Layout()) {
          if (row.id != kText1) {
            EXPECT_EQ(Shown(row.id), row.caption) << row.name;
          }
        }
      }
      SCOPED_TRACE(std::string(Row(step.target == kForm1 ? kText1 : step.target).name) + " " + step.input);
      EXPECT_EQ(Shown(kText1), NativeToUtf8(Folder(step.folder).native()));
      EXPECT_EQ(Shown(kLabel8), step.count);
      EXPECT_EQ(Enabled(kText2), step.unlocked);
      EXPECT_EQ(ReadOnly(kText3), !step.unlocked);
      EXPECT_EQ(Painted(kText3), step.unlocked ? WindowColour() : kGreyRgb);
      EXPECT_EQ(Shown(kLabel6), step.verdict);
      EXPECT_EQ(Shown(kText4), step.name);
      EXPECT_EQ(Enabled(kCommand2), step.canRun);
      EXPECT_TRUE(Checked(step.option));
      EXPECT_FALSE(Checked(step.option == kOption1 ? kOption2 : kOption1));
    }
    EXPECT_EQ(host_.notices, std::vector<std::string>{"提示: 处理完成"});
    EXPECT_EQ(ReadFile(folders_.work / Path("551.5 第一.txt")),
              Gbk("1 第一 0.2\r\n2 第一 0.2\r\n10 第一 0.2\r\n"));
  }

  std::unique_ptr<Form1> form_;
};

class TableWiringTest : public WiringHarness {
 protected:
  // The series of WiringHarness: 数据 holds three files with the band written "551.5 第一 0.2",
  // whose cell the measures pass over.
  // clang-format off
  static constexpr TableWiringStep kWiring[] = {
  //   does                 input                count                unlocked verdict                                             within canRun status
      {kTableForm,          "",                  "文本文件个数： 0",  false,   "",                                                  false, false, "..."},
      {kBrowseButton,       "数据",              "文本文件个数： 3",  true,    "请输入要提取的值，每行一项",                        false, false, "..."},
      {kSkipBox,            "x3",                "文本文件个数： 3",  true,    "请输入要提取的值，每行一项",                        false, false, "..."},
      {kItemsBox,           "550\nmax:540:551,5", "文本文件个数： 3", true,    "第 2 行 “max:540:551,5” 不是数值，也不是范围",      false, false, "..."},
      // the data write decimal points, which a decimal comma does not read
      {kDecimalCommaCheck,  "",                  "文本文件个数： 3",  true,    "可以执行（2 项）\n首个文件中没有 550，其列将为空",  false, true,  "..."},
      {kDecimalCommaCheck,  "",                  "文本文件个数： 3",  true,    "第 2 行 “max:540:551,5” 不是数值，也不是范围",      false, false, "..."},
      {kItemsBox,           "\b\b.5",            "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "..."},
      {kNearestOption,      "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  true,  true,  "..."},
      {kWithinBox,          "-",                 "文本文件个数： 3",  true,    "最大偏差 “-” 不是 0 或更大的数值",                  true,  false, "..."},
      {kWithinBox,          "\b1",               "文本文件个数： 3",  true,    "可以执行（2 项）",                                  true,  true,  "..."},
      {kColumnBox,          "\bx",               "文本文件个数： 3",  true,    "数据列 “” 应是从 1 起的列号",                       true,  false, "..."},
      {kColumnBox,          "2",                 "文本文件个数： 3",  true,    "可以执行（2 项）",                                  true,  true,  "..."},
      {kInterpolateOption,  "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "..."},
      {kExactOption,        "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "..."},
      {kBaselineCheck,      "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "..."},
      {kNameBox,            "\b\b\b\b\b",   "文本文件个数： 3",  true,    "请在第6步中输入要保存的文件名",                     false, false, "..."},
      {kNameBox,            "peak",              "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "..."},
      {kExecuteButton,      "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,
       "读取 3 个文件，2 项，6 格中 0 格为空；\n已写入 peak.csv 和 peak.svg"},
      {kAscOption,          "",                  "文本文件个数： 3",  true,    "可以执行（2 项）",                                  false, true,  "*"},
      {kBrowseButton,       "数据",              "文本文件个数： 1",  true,    "可以执行（2 项）",                                  false, true,  "*"},
      {kBrowseButton,       "work",              "文本文件个数： 0",  false,   "",                                                  false, false, "*"},
  };
  // clang-format on

  /// The command line that asks for what the steps above ask for, writing `name` in the folder.
  std::vector<std::string> CommandLine(std::string_view name) const {
    return {"table",
            "--skip",
            "3",
            "--baseline",
            "--encoding",
            "gbk",
            "--plot",
            "--output",
            NativeToTerminal((Folder("数据") / Path(name)).native()),
            NativeToTerminal(Folder("数据").native()),
            "550",
            "max:540:551.5"};
  }

  /// Connects the window to `form`, which runs Form_Load, and shows it.
  virtual void Attach(TableForm& form) = 0;
  /// Whether the chart view has a chart to draw.
  virtual bool ChartShown(ControlId id) = 0;

  void Do(const TableWiringStep& step) {
    const ControlRow& row = step.target == kTableForm ? Row(kFolderBox) : Row(step.target);
    if (step.target == kTableForm) {
      form_ = std::make_unique<TableForm>(Window(), host_, disk_, *codec_);
      Attach(*form_);
    } else if (row.kind == ControlKind::kEditBox) {
      Type(step.target, step.input);
    } else {
      if (step.target == kBrowseButton) host_.chosenFolder = Folder(step.input);
      Click(step.target);
    }
  }

  void RunWiringTable() {
    for (const TableWiringStep& step : kWiring) {
      Do(step);
      if (step.target == kTableForm) {  // every control as the layout has it, the folder box apart
        for (const ControlRow& row : TableFormLayout()) {
          if (row.id != kFolderBox && row.kind != ControlKind::kChart) {
            EXPECT_EQ(Shown(row.id), row.caption) << row.name;
          }
        }
        EXPECT_FALSE(ChartShown(kChartView));
      }
      SCOPED_TRACE(std::string(Row(step.target == kTableForm ? kFolderBox : step.target).name) + " " +
                   step.input);
      EXPECT_EQ(Shown(kFileCountLabel), step.count);
      EXPECT_EQ(Enabled(kSkipBox), step.unlocked);
      EXPECT_EQ(Enabled(kItemsBox), step.unlocked);
      EXPECT_EQ(Shown(kItemsVerdict), step.verdict);
      EXPECT_EQ(Enabled(kWithinBox), step.withinOn);
      EXPECT_EQ(Enabled(kExecuteButton), step.canRun);
      if (std::string_view(step.status) != "*") {
        EXPECT_EQ(Shown(kStatusLabel), step.status);
      }
    }
    EXPECT_TRUE(ChartShown(kChartView));
    EXPECT_TRUE(host_.errors.empty());
    // What kesmaro-cli writes for the same request, to the byte.
    cli::Host cli{disk_, CodePageChoice::System()};
    std::string out, err, data;
    ASSERT_EQ(cli::RunCommandLine(CommandLine("cli"), cli, out, err, data), 0) << err;
    EXPECT_EQ(ReadFile(folders_.data / "peak.csv"), ReadFile(folders_.data / "cli.csv"));
    EXPECT_EQ(ReadFile(folders_.data / "peak.svg"), ReadFile(folders_.data / "cli.svg"));
  }

  std::unique_ptr<TableForm> form_;
};

}  // namespace kesmaro::ui

#endif  // KESMARO_TESTS_WINDOW_WIRING_H_
