#include "ui/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/text/data_encoding.h"
#include "testing/fake_controls.h"
#include "testing/fake_form_host.h"
#include "testing/memory_file_system.h"
#include "testing/status_testing.h"
#include "ui/form_events.h"
#include "ui/run_message.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() : form_(controls_, host_, fs_, codec_) { host_.programFolder = "prog"; }

  /// A series in `folder`: files with one header line and the given rows.
  void AddSeries(const std::string& folder, const std::vector<std::string>& names, const std::string& rows) {
    for (const std::string& name : names) fs_.Put(folder + "/" + name, "header\r\n" + rows);
  }

  /// Keys typed at the end of a box, each firing its change; '\b' is Backspace.
  void Type(ControlId box, const std::string& keys) {
    for (char key : keys) {
      if (box == kText2 && !form_.Text2_KeyPress(static_cast<unsigned char>(key))) continue;
      std::string& text = controls_.controls.at(box).text;
      key == '\b' ? text.pop_back() : text.push_back(key);
      box == kText2 ? form_.Text2_Change() : form_.Text3_Change();
    }
  }

  const FakeControls::State& At(ControlId id) { return controls_.controls.at(id); }

  FakeControls controls_;
  FakeFormHost host_;
  MemoryFileSystem fs_;
  PassThroughCodec codec_{{"GBK", 936, CharScheme::kGbk}, true};
  Form1 form_;
};

constexpr const char* kRows = "0.5 11\r\n1.0 12\r\n1.5 13\r\n";

/// Typing into a listed series: the key into Text3, then the header-line count after Text2's "0".
struct Keystrokes {
  const char* name;
  const char* rows;  ///< the first file's lines after its one header line
  const char* key;
  const char* skip;
  const char* verdict;   ///< Label6
  const char* proposed;  ///< Text4
  bool canRun;           ///< Command2
};

class Form1KeystrokeTest : public Form1Test, public ::testing::WithParamInterface<Keystrokes> {};

constexpr const char* kFourRows = "1.0 5\r\n1.5 6\r\n2.0 7\r\n21 8\r\n";

// clang-format off
constexpr Keystrokes kKeystrokes[] = {
//   name                 rows              key          skip    Label6              Text4  Command2
    {"Missing",           kFourRows,        "3",         "1",    "数值不存在",       "",    false},
    {"NotPreciseEnough",  kFourRows,        "1",         "1",    "还不够精确",       "",    false},
    {"Exact",             kFourRows,        "1.5",       "1",    "可以执行",         "1.5", true},
    // the one line that begins with it has no separator: the last name stays
    {"PrefixWithoutName", "3 x\r\n35\r\n",  "35",        "1",    "可以执行",         "3",   true},
    {"Backspace",         "7 a\r\n",        "7",         "5\b1", "可以执行",         "7",   true},
    {"LettersDropped",    "7 a\r\n",        "7",         "1a1",  "首个文件行数不足", "7",   false},
    {"NotInTheCodePage",  "7 a\r\n",        "7\xC3\xA9", "1",    "值中有无效字符",   "7",   false},
};
// clang-format on

TEST_P(Form1KeystrokeTest, VerdictAndProposedNameFollowEveryKeystroke) {
  const Keystrokes& typed = GetParam();
  AddSeries("prog", {"1.txt", "2.txt"}, typed.rows);
  form_.Form_Load();
  Type(kText3, typed.key);
  Type(kText2, typed.skip);
  EXPECT_EQ(At(kLabel6).text, typed.verdict);
  EXPECT_EQ(At(kText4).text, typed.proposed);
  EXPECT_EQ(At(kCommand2).enabled, typed.canRun);
  EXPECT_TRUE(host_.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, Form1KeystrokeTest, ::testing::ValuesIn(kKeystrokes), RowName());

TEST_F(Form1Test, EachFolderListedSetsTheCountAndUnlocksTheValueBoxesOnlyForDataFiles) {
  AddSeries("prog", {"10.txt", "2.txt", "1.txt", "notes.asc"}, kRows);
  fs_.Put("1.txt", kRows);  // no folder is not the working folder
  fs_.folders.insert("empty");
  // At start-up, "" is a program folder the system could not tell: nothing to list, nothing fails.
  // Then folders chosen after a key that can run: a cancelled dialog ("") changes nothing, a
  // folder without data files locks the boxes again and can run nothing.
  // clang-format off
  const struct { bool chosen; const char* folder; const char* listed; const char* count; } steps[] = {
  //   chosen  folder     Text1      Label8
      {false,  "",        "",        "0"},
      {false,  "missing", "missing", "0"},
      {false,  "prog",    "prog",    "3"},
      {true,   "",        "prog",    "3"},
      {true,   "empty",   "empty",   "0"},
  };
  // clang-format on
  for (const auto& step : steps) {
    if (step.chosen) {
      controls_.controls.at(kText2).text = "1";
      controls_.controls.at(kText3).text = "1.0";
      form_.Text3_Change();
      host_.chosenFolder = step.folder;
      form_.Command1_Click();
    } else {
      host_.programFolder = step.folder;
      form_.Form_Load();
    }
    SCOPED_TRACE(step.folder);
    EXPECT_EQ(At(kText1).text, step.listed);
    EXPECT_EQ(form_.FolderPath(), step.listed);
    EXPECT_EQ(At(kLabel8).text, step.count);
    const bool unlocked = *step.count != '0';
    EXPECT_EQ(At(kText3).readOnly, !unlocked);
    EXPECT_EQ(At(kText3).background, unlocked ? Background::kWindow : Background::kGrey);
    EXPECT_EQ(At(kText2).enabled, unlocked);
    EXPECT_EQ(At(kCommand2).enabled, step.chosen && unlocked) << "only a key checked against data files runs";
  }
  EXPECT_EQ(host_.browseTitles, std::vector<std::string>(2, "请选择一个文件夹："));
}

TEST_F(Form1Test, EachSeriesListedChoosesItsCodePageByItsFirstFileAndIsWrittenInIt) {
  // The chosen codecs mark the names they decode, so the proposed name shows which one read.
  class MarkingCodec : public PassThroughCodec {
   public:
    explicit MarkingCodec(const CodePage& page) : PassThroughCodec(page, true) {}
    std::optional<Native> Decode(std::string_view bytes) const override {
      return PassThroughCodec::Decode(ShownName(Page()) + ":" + std::string(bytes));
    }
  };
  form_.LetSeriesChooseCodePage([](const CodePage& page) { return std::make_unique<MarkingCodec>(page); },
                                true);
  fs_.Put("prog/1.txt", EncodeOutput(FileForm::kUtf16Le, "h\r\n2.0 7"));
  AddSeries("data", {"1.txt"}, "2.0 7\r\n");
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "2");
  EXPECT_EQ(At(kText4).text, "UTF-16LE:2.0");
  controls_.controls.at(kText4).text = "out";
  form_.Command2_Click();
  EXPECT_EQ(fs_.Content("out.txt"), EncodeOutput(FileForm::kUtf16Le, "1 7\r\n")) << "written as read";
  host_.chosenFolder = "data";
  form_.Command1_Click();
  Type(kText3, ".");  // "2." now: the new series is read in the system code page again
  EXPECT_EQ(At(kText4).text, "2.0");
}

/// A run over prog/1.txt, 2.txt and 10.txt with the key 1.0, where result.txt holds "earlier".
struct RunCase {
  const char* name;
  const char* typed;       ///< typed into Text4 over the proposed name
  const char* unreadable;  ///< a data file that cannot be opened
  const char* content;     ///< result.txt afterwards
  /// The window busy, the files read as Label9 showed them ("3/3" for "运行中... 3/3"), idle.
  const char* log;
  /// The start of the one notice or error shown, "title: text", which names the unreadable file.
  const char* message;
};

class Form1RunTest : public Form1Test, public ::testing::WithParamInterface<RunCase> {};

// clang-format off
constexpr RunCase kRuns[] = {
//   name            Text4     unreadable    content                      log                          message
    {"TypedName",    "result", "",           "1 12\r\n2 12\r\n10 12\r\n", "busy 0/3 1/3 2/3 3/3 idle", "提示: 处理完成"},
    {"Unreadable",   "result", "prog/2.txt", "earlier",                   "busy 0/3 1/3 idle",         "错误: 无法打开数据文件。\n\n文件："},
    // a name that is no plain file name is refused before anything is read, and left to edit
    {"NoFileName",   "a/b",    "",           "earlier",                   "busy 0/3 idle",             "错误: 文件名“a/b”中含有字符“/”"},
};
// clang-format on

TEST_P(Form1RunTest, RunWritesTheSeriesOrNamesTheFileAndLeavesTheOutputAsItWas) {
  const RunCase& run = GetParam();
  AddSeries("prog", {"1.txt", "2.txt", "10.txt"}, kRows);
  fs_.Put("result.txt", "earlier");
  form_.Form_Load();
  Type(kText2, "1");
  Type(kText3, "1.0");
  controls_.controls.at(kText4).text = run.typed;
  if (*run.unreadable) fs_.unreadable.insert(run.unreadable);
  form_.Command2_Click();
  EXPECT_EQ(fs_.Content("result.txt"), run.content);
  std::vector<std::string> log;
  std::istringstream words(run.log);
  for (std::string word; words >> word;)
    log.push_back(word == "busy" || word == "idle" ? word : "运行中... " + word);
  EXPECT_EQ(controls_.runLog, log);
  EXPECT_EQ(At(kLabel9).text, "...");
  EXPECT_EQ(At(kText4).text, run.typed);
  std::vector<std::string> shown = host_.notices;
  shown.insert(shown.end(), host_.errors.begin(), host_.errors.end());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind(run.message, 0), 0u) << shown[0];
  if (*run.unreadable) {  // without the user's words, the system's English ones are better than none
    const std::string file = std::filesystem::path(run.unreadable).make_preferred().string();
    EXPECT_NE(shown[0].find(file + "\n原因：Permission denied\n\n"), std::string::npos) << shown[0];
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Form1RunTest, ::testing::ValuesIn(kRuns), RowName());

// A paste may put any text in a count's box: its leading number, halves rounded to even; the core
// takes 0 or less as none.
TEST(HeaderLineBoxTest, ReadsTheLeadingNumberRoundedAndStopsAtMoreLinesThanAnyFileHolds) {
  EXPECT_EQ(HeaderLineCount("abc"), 0);
  EXPECT_EQ(HeaderLineCount(" 2.5x"), 2);
  EXPECT_EQ(HeaderLineCount("3.5"), 4);
  EXPECT_EQ(HeaderLineCount("-4"), -4);
  EXPECT_EQ(HeaderLineCount("8999999999999999000"), 8'999'999'999'999'998'976);  // the nearest double
  EXPECT_EQ(HeaderLineCount("99999999999999999999999999"), 9'000'000'000'000'000'000);
}

TEST(RunErrorMessageTest, GivesTheSystemsWordsForItsUserWhereItHasThem) {
  EXPECT_EQ(
      RunErrorMessage(Error{ErrorKind::kOpenFailed, "d/2.txt", "Access is denied", "访问被拒绝"}, "d\\2.txt"),
      "无法打开数据文件。\n\n文件：d\\2.txt\n原因：访问被拒绝\n\n没有写入输出文件，已有的文件保持原样。");
}

TEST_F(Form1Test, AHandlersFailureComesBackAsTheTextOfAnErrorNotice) {
  struct ThrowingHost : FakeFormHost {
    std::filesystem::path BrowseForFolder(std::string_view /*title*/) override {
      throw std::runtime_error("dialog gone");
    }
  } host;
  Form1 form(controls_, host, fs_, codec_);
  EXPECT_EQ(RunHandler(form, &Form1::Command1_Click), "处理时出错：dialog gone");
  EXPECT_EQ(RunHandler(form, &Form1::Form_Load), std::nullopt);
}

}  // namespace
}  // namespace kesmaro::ui
