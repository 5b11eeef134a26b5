#include "ui/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/memory_file_system.h"
#include "ui/fake_form_host.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;

/// The controls as plain values, starting as the layout table says.
class FakeControls : public Controls {
 public:
  struct State {
    std::string text;
    bool enabled = true;
    bool readOnly = false;
    bool selected = false;
    Background background{};
  };

  FakeControls() {
    for (const ControlRow& row : Form1Layout()) {
      controls[row.id] = State{std::string(row.caption), row.enabled, row.readOnly, row.selected,
                               row.background.value_or(kWindowBackground)};
    }
  }

  std::string Text(ControlId id) const override { return controls.at(id).text; }
  void SetText(ControlId id, std::string_view text) override { controls.at(id).text = text; }
  void SetEnabled(ControlId id, bool enabled) override { controls.at(id).enabled = enabled; }
  void SetReadOnly(ControlId id, bool readOnly) override { controls.at(id).readOnly = readOnly; }
  void SetBackground(ControlId id, Background background) override {
    controls.at(id).background = background;
  }
  bool IsSelected(ControlId id) const override { return controls.at(id).selected; }
  void Repaint() override { runLog.push_back(controls.at(kLabel9).text); }
  void SetBusy(bool busy) override { runLog.push_back(busy ? "busy" : "idle"); }

  std::map<ControlId, State> controls;
  std::vector<std::string> runLog;  ///< Label9 as each repaint showed it, and "busy" / "idle"
};

/// Letters of the ASCII range only, like a code page that lacks whatever else the user types.
class AsciiCodec : public TextCodec {
 public:
  std::optional<std::string> Encode(const Native& text) const override {
    std::string out;
    for (auto ch : text) {
      if (static_cast<unsigned long>(ch) >= 0x80) return std::nullopt;
      out.push_back(static_cast<char>(ch));
    }
    return out;
  }
  std::optional<Native> Decode(std::string_view bytes) const override {
    return Native(bytes.begin(), bytes.end());
  }
};

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() : form_(controls_, host_, fs_, codec_, CharScheme::kGbk) { host_.programFolder = "prog"; }

  /// A series in `folder`: files with one header line and the given rows.
  void AddSeries(const std::string& folder, const std::vector<std::string>& names, const std::string& rows) {
    for (const std::string& name : names) fs_.Put(folder + "/" + name, "header\r\n" + rows);
  }

  /// What the user sees after typing `text` into a box, each character firing its change.
  void Type(ControlId box, const std::string& text) {
    for (char ch : text) {
      if (box == kText2 && !form_.Text2_KeyPress(static_cast<unsigned char>(ch))) continue;
      controls_.controls.at(box).text += ch;
      box == kText2 ? form_.Text2_Change() : form_.Text3_Change();
    }
  }

  void Replace(ControlId box, const std::string& text) {
    controls_.controls.at(box).text = text;
    box == kText2 ? form_.Text2_Change() : form_.Text3_Change();
  }

  const FakeControls::State& At(ControlId id) { return controls_.controls.at(id); }

  void ExpectFilesPresent() {
    EXPECT_FALSE(At(kText3).readOnly);
    EXPECT_EQ(At(kText3).background, kWindowBackground);
    EXPECT_TRUE(At(kText2).enabled);
  }

  void ExpectNoFiles() {
    EXPECT_TRUE(At(kText3).readOnly);
    EXPECT_EQ(At(kText3).background, kGreyBackground);
    EXPECT_FALSE(At(kText2).enabled);
  }

  FakeControls controls_;
  FakeFormHost host_;
  MemoryFileSystem fs_;
  AsciiCodec codec_;
  Form1 form_;
};

constexpr const char* kRows = "0.5 11\r\n1.0 12\r\n1.5 13\r\n";

TEST_F(Form1Test, StartUpListsTheProgramFolderAndUnlocksTheValueBoxes) {
  AddSeries("prog", {"10.txt", "2.txt", "1.txt", "notes.asc"}, kRows);
  form_.Form_Load();
  EXPECT_EQ(At(kText1).text, "prog");
  EXPECT_EQ(At(kLabel8).text, "3");
  EXPECT_EQ(form_.Files().FileNames, (std::vector<std::filesystem::path>{"1.txt", "2.txt", "10.txt"}));
  ExpectFilesPresent();
  // No key check runs at start-up.
  EXPECT_EQ(At(kLabel6).text, "还不够精确");
  EXPECT_FALSE(At(kCommand2).enabled);
}

TEST_F(Form1Test, StartUpWithoutDataFilesKeepsEverythingLocked) {
  host_.programFolder = "";  // the system could not tell: nothing to list, nothing fails
  fs_.Put("1.txt", kRows);   // not even the working folder's files
  form_.Form_Load();
  EXPECT_EQ(At(kLabel8).text, "0");
  ExpectNoFiles();

  host_.programFolder = "missing";
  form_.Form_Load();
  EXPECT_EQ(At(kText1).text, "missing");
  EXPECT_EQ(At(kLabel8).text, "0");
  ExpectNoFiles();
}

TEST_F(Form1Test, VerdictFollowsEveryKeystroke) {
  AddSeries("prog", {"1.txt"}, "1.0 5\r\n1.5 6\r\n2.0 7\r\n21 8\r\n");
  form_.Form_Load();
  Type(kText2, "1");
  EXPECT_EQ(At(kLabel6).text, "还不够精确");  // the empty key begins every line

  Type(kText3, "3");
  EXPECT_EQ(At(kLabel6).text, "数值不存在");
  EXPECT_EQ(At(kText4).text, "");
  EXPECT_FALSE(At(kCommand2).enabled);

  Replace(kText3, "");
  Type(kText3, "1");
  EXPECT_EQ(At(kLabel6).text, "还不够精确");
  EXPECT_FALSE(At(kCommand2).enabled);
  Type(kText3, ".5");
  EXPECT_EQ(At(kLabel6).text, "可以执行");
  EXPECT_EQ(At(kText4).text, "1.5");
  EXPECT_TRUE(At(kCommand2).enabled);
  EXPECT_EQ(form_.KeyValue(), "1.5");

  Replace(kText3, "2.");  // only "2.0 7" begins with it: named after the line's first column
  EXPECT_EQ(At(kLabel6).text, "可以执行");
  EXPECT_EQ(At(kText4).text, "2.0");
}

TEST_F(Form1Test, HeaderCountChangesTheVerdict) {
  AddSeries("prog", {"1.txt"}, "7 a\r\n8 b\r\n");
  form_.Form_Load();
  Type(kText3, "7");
  EXPECT_EQ(At(kLabel6).text, "可以执行");
  Type(kText2, "2");  // "02": the header and the line with 7
  EXPECT_EQ(At(kLabel6).text, "数值不存在");
  EXPECT_FALSE(At(kCommand2).enabled);
}

TEST_F(Form1Test, UniquePrefixLineWithoutSeparatorKeepsTheOutputName) {
  AddSeries("prog", {"1.txt"}, "2.0\r\n3.5 x\r\n");
  form_.Form_Load();
  Type(kText3, "3.5");
  Replace(kText3, "2");
  EXPECT_EQ(At(kLabel6).text, "可以执行");
  EXPECT_EQ(At(kText4).text, "3.5");
  EXPECT_TRUE(At(kCommand2).enabled);
}

TEST_F(Form1Test, CheckThatCannotBeMadeShowsWhyAndLocksTheRun) {
  AddSeries("prog", {"1.txt", "2.txt"}, "7 a\r\n");
  form_.Form_Load();
  Type(kText3, "7");
  ASSERT_TRUE(At(kCommand2).enabled);

  Type(kText2, "5");  // more header lines than the file has
  EXPECT_EQ(At(kLabel6).text, "首个文件行数不足");
  EXPECT_FALSE(At(kCommand2).enabled);
  Replace(kText2, "1");
  EXPECT_EQ(At(kLabel6).text, "可以执行");
  EXPECT_TRUE(At(kCommand2).enabled);

  fs_.unreadable.insert("prog/1.txt");
  Replace(kText3, "7 ");
  EXPECT_EQ(At(kLabel6).text, "首个文件打不开");
  EXPECT_FALSE(At(kCommand2).enabled);
  EXPECT_EQ(form_.KeyValue(), "7 ");
  fs_.unreadable.clear();

  Replace(kText3, "7\xC3\xA9");  // a character the code page lacks
  EXPECT_EQ(At(kLabel6).text, "值中有无效字符");
  EXPECT_FALSE(At(kCommand2).enabled);
  EXPECT_TRUE(host_.errors.empty());
}

TEST_F(Form1Test, HeaderCountBoxTakesDigitsAndBackspaceOnly) {
  for (unsigned code = 0; code < 128; ++code) {
    const bool accepted = (code >= '0' && code <= '9') || code == 8;
    EXPECT_EQ(form_.Text2_KeyPress(code), accepted) << "character code " << code;
  }
  EXPECT_FALSE(form_.Text2_KeyPress(0x4E00));  // a Chinese character
  AddSeries("prog", {"1.txt"}, kRows);
  form_.Form_Load();
  Replace(kText2, "");
  Type(kText2, "1a2");
  EXPECT_EQ(At(kText2).text, "12");
}

TEST_F(Form1Test, ChosenFolderIsListedWithTheOptionSelectedNow) {
  form_.Form_Load();
  AddSeries("data", {"1.asc", "2.asc", "3.txt"}, kRows);
  controls_.controls.at(kOption1).selected = false;
  controls_.controls.at(kOption2).selected = true;
  host_.chosenFolder = "data";
  form_.Command1_Click();
  EXPECT_EQ(host_.browseTitles, std::vector<std::string>{"请选择一个文件夹："});
  EXPECT_EQ(At(kText1).text, "data");
  EXPECT_EQ(At(kLabel8).text, "2");
  ExpectFilesPresent();
  EXPECT_EQ(At(kLabel6).text, "还不够精确");  // the key check is not run again
}

TEST_F(Form1Test, EachSeriesListedIsReadAsUtf8WhenItsFirstFileIsUtf8Text) {
  // The UTF-8 codec marks the names it decodes, so the proposed name shows which one read.
  class MarkingCodec : public AsciiCodec {
    std::optional<Native> Decode(std::string_view bytes) const override {
      return AsciiCodec::Decode("utf8:" + std::string(bytes));
    }
  } utf8;
  form_.ReadUtf8SeriesAsUtf8(utf8);
  fs_.Put("prog/1.txt", "\xEF\xBB\xBFheader\r\n2.0 7\r\n");
  AddSeries("data", {"1.txt"}, "2.0 7\r\n");
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "2");
  EXPECT_EQ(At(kText4).text, "utf8:2.0");
  host_.chosenFolder = "data";
  form_.Command1_Click();
  Replace(kText3, "2.");
  EXPECT_EQ(At(kText4).text, "2.0");
}

TEST_F(Form1Test, CancelledFolderDialogChangesNothing) {
  AddSeries("prog", {"1.txt", "2.txt"}, kRows);
  form_.Form_Load();
  Type(kText3, "1.0");
  const auto before = controls_.controls;
  host_.chosenFolder = "";
  form_.Command1_Click();
  EXPECT_EQ(form_.FolderPath(), "prog");
  EXPECT_EQ(form_.Files().FileCount(), 2u);
  for (const auto& [id, state] : before) {
    EXPECT_EQ(At(id).text, state.text) << Row(id).name;
    EXPECT_EQ(At(id).enabled, state.enabled) << Row(id).name;
    EXPECT_EQ(At(id).readOnly, state.readOnly) << Row(id).name;
  }
}

TEST_F(Form1Test, FolderWithoutDataFilesLocksTheBoxesAndTheRun) {
  AddSeries("prog", {"1.txt"}, kRows);
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "1.0");
  ASSERT_TRUE(At(kCommand2).enabled);
  fs_.folders.insert("empty");
  host_.chosenFolder = "empty";
  form_.Command1_Click();
  EXPECT_EQ(At(kLabel8).text, "0");
  ExpectNoFiles();
  EXPECT_FALSE(At(kCommand2).enabled);
  EXPECT_EQ(At(kText2).text, "01");
  EXPECT_EQ(At(kText3).text, "1.0");
}

TEST_F(Form1Test, RunWritesTheSeriesAndSaysSo) {
  AddSeries("prog", {"1.txt", "2.txt", "10.txt"}, kRows);
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "1.0");
  form_.Command2_Click();
  EXPECT_EQ(fs_.Content("1.0.txt"), "1 12\r\n2 12\r\n10 12\r\n");
  // Each file read is shown at once, and the window takes no input until the run is over.
  EXPECT_EQ(controls_.runLog, (std::vector<std::string>{"busy", "运行中... 0/3", "运行中... 1/3",
                                                        "运行中... 2/3", "运行中... 3/3", "idle"}));
  EXPECT_EQ(At(kLabel9).text, "...");
  EXPECT_EQ(host_.notices, std::vector<std::string>{"提示: 处理完成"});
  EXPECT_TRUE(host_.errors.empty());

  // The output name is whatever Text4 holds when the button is pressed.
  controls_.controls.at(kText4).text = "result";
  form_.Command2_Click();
  EXPECT_EQ(fs_.Content("result.txt"), "1 12\r\n2 12\r\n10 12\r\n");
}

TEST_F(Form1Test, FailedRunNamesTheFileAndLeavesTheOutputAsItWas) {
  AddSeries("prog", {"1.txt", "2.txt"}, kRows);
  fs_.Put("1.0.txt", "earlier output");
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "1.0");
  fs_.unreadable.insert("prog/2.txt");
  form_.Command2_Click();
  EXPECT_EQ(fs_.Content("1.0.txt"), "earlier output");
  EXPECT_EQ(controls_.runLog, (std::vector<std::string>{"busy", "运行中... 0/2", "运行中... 1/2", "idle"}));
  EXPECT_EQ(At(kLabel9).text, "...");
  EXPECT_TRUE(host_.notices.empty());
  ASSERT_EQ(host_.errors.size(), 1u);
  EXPECT_NE(host_.errors[0].find("错误: 无法打开数据文件"), std::string::npos) << host_.errors[0];
  EXPECT_NE(host_.errors[0].find("2.txt"), std::string::npos) << host_.errors[0];
}

TEST_F(Form1Test, OutputNameThatIsNoPlainFileNameIsRefusedAndLeftToEdit) {
  AddSeries("prog", {"1.txt", "2.txt"}, "10/20/2023 5\r\n7 a\r\n");
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "10/2");
  ASSERT_EQ(At(kText4).text, "10/20/2023") << "the proposal stays as the data gives it";
  const std::size_t files = fs_.files.size(), opened = fs_.opened.size();
  form_.Command2_Click();
  EXPECT_EQ(fs_.files.size(), files) << "nothing written";
  EXPECT_EQ(fs_.opened.size(), opened) << "refused before reading";
  EXPECT_EQ(At(kText4).text, "10/20/2023");
  EXPECT_TRUE(host_.notices.empty());
  ASSERT_EQ(host_.errors.size(), 1u);
  EXPECT_NE(host_.errors[0].find("错误: 文件名“10/20/2023”中含有字符“/”"), std::string::npos) << host_.errors[0];
}

TEST(RunErrorMessageTest, NamesTheFileAndTheCauseInTheUsersWords) {
  const std::string message =
      RunErrorMessage(Error{ErrorKind::kOpenFailed, "data/2.txt", "Access is denied", "访问被拒绝"});
  EXPECT_EQ(message.rfind("无法打开数据文件", 0), 0u) << message;
  EXPECT_NE(message.find("2.txt"), std::string::npos) << message;
  EXPECT_NE(message.find("原因：访问被拒绝"), std::string::npos) << message;
  EXPECT_EQ(message.find("Access"), std::string::npos) << message;
  // Without the user's words, the system's English ones are better than none.
  EXPECT_NE(RunErrorMessage(Error{ErrorKind::kWriteFailed, "out.txt", "Disk full"}).find("原因：Disk full"),
            std::string::npos);
}

TEST(Form1LayoutTest, EveryControlLiesInsideItsFrameAndTheWindow) {
  const WindowLayout& form = Form1Window();
  for (const ControlRow& row : Form1Layout()) {
    const TwipRect rect = FormRect(row.id);
    EXPECT_GE(rect.left, 0) << row.name;
    EXPECT_LE(rect.left + rect.width, form.innerWidth) << row.name;
    EXPECT_LE(rect.top + rect.height, form.innerHeight) << row.name;
    if (row.container != kForm1) {
      const ControlRow& frame = Row(row.container);
      EXPECT_EQ(frame.kind, ControlKind::kFrame) << row.name;
      EXPECT_LE(row.left + row.width, frame.width) << row.name;
      EXPECT_LE(row.top + row.height, frame.height) << row.name;
    }
  }
}

TEST(Form1LayoutTest, TabOrderCountsUpFromZeroOncePerControl) {
  int expected = 0;
  for (const ControlRow& row : Form1Layout()) EXPECT_EQ(row.tabIndex, expected++) << row.name;
  EXPECT_EQ(expected, 24);
}

}  // namespace
}  // namespace kesmaro::ui
