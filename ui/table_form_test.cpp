#include "ui/table_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_controls.h"
#include "testing/fake_form_host.h"
#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro::ui {
namespace {

using enum ControlId;

/// Three files of one header line; 2.txt lacks 550 and its band runs higher.
constexpr const char* kFirst = "nm A\r\n500 0.1\r\n550 0.5\r\n600 0.2\r\n";
constexpr const char* kSecond = "nm A\r\n500 0.1\r\n560 0.9\r\n600 0.3\r\n";

class TableFormTest : public ::testing::Test {
 protected:
  TableFormTest() : form_(controls_, host_, fs_, codec_) {
    controls_.statusLabel = kStatusLabel;
    host_.programFolder = "elsewhere";  // the folder named at start-up is listed instead
    fs_.Put("data/1.txt", kFirst);
    fs_.Put("data/2.txt", kSecond);
    fs_.Put("data/10.txt", kFirst);
  }

  /// Opens the window on the series with one header line and `items` typed.
  void Open(const std::string& items) {
    form_.StartIn("data");
    form_.Form_Load();
    Type(kSkipBox, "1");
    Type(kItemsBox, items);
  }

  /// Replaces a box's text, as a paste would, firing its change; digits only where the form says.
  void Type(ControlId box, const std::string& text) {
    std::string& shown = controls_.controls.at(box).text;
    shown.clear();
    for (char key : text) {
      if ((box == kSkipBox || box == kColumnBox) && !form_.Digits_KeyPress(static_cast<unsigned char>(key)))
        continue;
      shown.push_back(key);
    }
    form_.Input_Change();
  }

  /// Clicks an option button of step 5, or toggles a check box.
  void Click(ControlId id) {
    if (id == kBaselineCheck || id == kDecimalCommaCheck) {
      controls_.controls.at(id).selected = !controls_.controls.at(id).selected;
    } else {
      for (ControlId option : {kExactOption, kNearestOption, kInterpolateOption})
        controls_.controls.at(option).selected = option == id;
    }
    form_.Input_Change();
  }

  const FakeControls::State& At(ControlId id) { return controls_.controls.at(id); }

  FakeControls controls_;
  FakeFormHost host_;
  MemoryFileSystem fs_;
  PassThroughCodec codec_;
  TableForm form_;
};

/// What the user types and chooses, and what the verdict label and Execute then show.
struct Inputs {
  const char* name;
  const char* items;
  ControlId mode;      ///< the option button of step 5
  const char* within;  ///< 最大偏差, typed after the mode is chosen
  bool decimalComma;
  const char* column;
  const char* output;  ///< step 6
  const char* skip;
  const char* verdict;
  bool canRun;
};

class TableFormVerdictTest : public TableFormTest, public ::testing::WithParamInterface<Inputs> {};

// clang-format off
constexpr Inputs kInputs[] = {
//   name                items                        mode                within  comma  column output   skip  verdict                                                    Execute
    {"Values",           "550\n\n 600\t\r\n",         kExactOption,       "",     false, "2",   "table", "1",  "可以执行（2 项）",                                        true},
    {"ValueNotInFirst",  "560\narea:500:600",         kExactOption,       "",     false, "2",   "table", "1",  "可以执行（2 项）\n首个文件中没有 560，其列将为空",        true},
    {"NearestFindsIt",   "560",                       kNearestOption,     "",     false, "2",   "table", "1",  "可以执行（1 项）",                                        true},
    {"Interpolated",     "525",                       kInterpolateOption, "",     false, "2",   "table", "1",  "可以执行（1 项）",                                        true},
    {"NoItems",          "\n \n",                     kExactOption,       "",     false, "2",   "table", "1",  "请输入要提取的值，每行一项",                              false},
    {"NotARange",        "550\n\narea:1,0",           kExactOption,       "",     false, "2",   "table", "1",  "第 3 行 “area:1,0” 不是数值，也不是范围",                 false},
    {"CommaWithout",     "550,5",                     kExactOption,       "",     false, "2",   "table", "1",  "第 1 行 “550,5” 不是数值",                                false},
    {"CommaWith",        "550,5\narea:1,0:2",         kExactOption,       "",     true,  "2",   "table", "1",  "可以执行（2 项）\n首个文件中没有 550,5，其列将为空",      true},
    {"WithinNegative",   "560",                       kNearestOption,     "-1",   false, "2",   "table", "1",  "最大偏差 “-1” 不是 0 或更大的数值",                       false},
    {"WithinCommaWithout", "560",                     kNearestOption,     "0,5",  false, "2",   "table", "1",  "最大偏差 “0,5” 不是 0 或更大的数值",                      false},
    {"Within",           "560",                       kNearestOption,     "0,5",  true,  "2",   "table", "1",  "可以执行（1 项）",                                        true},
    // only 最近 reads the distance
    {"WithinUnread",     "550",                       kExactOption,       "-1",   false, "2",   "table", "1",  "可以执行（1 项）",                                        true},
    {"ColumnZero",       "550",                       kExactOption,       "",     false, "0",   "table", "1",  "数据列 “0” 应是从 1 起的列号",                            false},
    {"ColumnLetters",    "550",                       kExactOption,       "",     false, "x",   "table", "1",  "数据列 “” 应是从 1 起的列号",                             false},
    {"NoName",           "550",                       kExactOption,       "",     false, "2",   "",      "1",  "请在第6步中输入要保存的文件名",                           false},
    {"TooFewLines",      "550",                       kExactOption,       "",     false, "2",   "table", "9",  "首个文件行数不足",                                        false},
};
// clang-format on

TEST_P(TableFormVerdictTest, VerdictAndExecuteFollowEveryInput) {
  const Inputs& in = GetParam();
  Open(in.items);
  Click(in.mode);
  if (in.decimalComma) Click(kDecimalCommaCheck);
  Type(kWithinBox, in.within);
  Type(kColumnBox, in.column);
  Type(kNameBox, in.output);
  Type(kSkipBox, in.skip);
  EXPECT_EQ(At(kItemsVerdict).text, in.verdict);
  EXPECT_EQ(At(kExecuteButton).enabled, in.canRun);
  EXPECT_EQ(At(kWithinBox).enabled, in.mode == kNearestOption);
}

INSTANTIATE_TEST_SUITE_P(Table, TableFormVerdictTest, ::testing::ValuesIn(kInputs), RowName());

/// A run that fails, and the start of the error it shows; nothing is written.
struct Failure {
  const char* name;
  const char* output;
  const char* unreadable;
  const char* error;
};

class TableFormFailureTest : public TableFormTest, public ::testing::WithParamInterface<Failure> {};

// clang-format off
constexpr Failure kFailures[] = {
    {"Unreadable",  "table", "data/2.txt", "错误: 无法打开数据文件。\n\n文件：data"},
    {"NoFileName",  "a/b",   "",           "错误: 文件名“a/b”中含有字符“/”，不能用作文件名。\n\n请在第6步中修改文件名。"},
};
// clang-format on

TEST_P(TableFormFailureTest, AFailedRunNamesTheCauseAndWritesNothing) {
  const Failure& failure = GetParam();
  Open("550");
  Type(kNameBox, failure.output);
  if (*failure.unreadable) fs_.unreadable.insert(failure.unreadable);
  form_.ExecuteButton_Click();
  ASSERT_EQ(host_.errors.size(), 1u);
  EXPECT_EQ(host_.errors[0].rfind(failure.error, 0), 0u) << host_.errors[0];
  EXPECT_EQ(fs_.files.size(), 3u) << "nothing written";
  EXPECT_EQ(At(kStatusLabel).text, "...");
  EXPECT_FALSE(controls_.chart.has_value());
}

INSTANTIATE_TEST_SUITE_P(Table, TableFormFailureTest, ::testing::ValuesIn(kFailures), RowName());

}  // namespace
}  // namespace kesmaro::ui
