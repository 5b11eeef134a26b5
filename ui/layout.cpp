#include "ui/layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kesmaro::ui {
namespace {

using enum ControlId;
using enum ControlKind;

constexpr WindowLayout kForm1Window{"Kesmaro", 6495, 6450};

/// What sets a control apart from its kind's defaults.
enum Trait : unsigned {
  kPlain = 0,
  kDisabled = 1u << 0,
  kReadOnly = 1u << 1,
  kSelected = 1u << 2,
  kTwoLines = 1u << 3,
  kDataText = 1u << 4,  ///< the data font
  kGrey = 1u << 5,      ///< grey background
  kLines = 1u << 6,     ///< many lines, Enter starts the next
  kWrap = 1u << 7,      ///< a label wrapped at its width
};

constexpr ControlRow Entry(ControlId id, std::string_view name, ControlKind kind, ControlId container,
                           std::string_view caption, int left, int top, int width, int height,
                           unsigned traits = kPlain, std::string_view accessible = {}) {
  ControlRow row{id, name, kind, container, caption, left, top, width, height};
  row.enabled = (traits & kDisabled) == 0;
  row.readOnly = (traits & kReadOnly) != 0;
  row.selected = (traits & kSelected) != 0;
  row.multiLine = (traits & kTwoLines) != 0;
  row.dataFont = (traits & kDataText) != 0;
  if ((traits & kGrey) != 0) row.background = Background::kGrey;
  row.lines = (traits & kLines) != 0;
  row.wrap = (traits & kWrap) != 0;
  row.accessible = accessible;
  return row;
}

// In tab order. The steps run top to bottom on screen, but step 1 (Frame6) comes last in the
// tab order, and Label10 lies between the two option buttons. Geometry in twips, relative to
// the container.
// clang-format off
constexpr std::array kLayout{
//        control    name        kind           container caption                          left   top width height
    Entry(kFrame1,   "Frame1",   kFrame,        kForm1,  "第2步 定位文件夹",               120,  960, 6135, 1575),
    Entry(kCommand1, "Command1", kPushButton,   kFrame1, "定位文件夹...",                  360, 1080, 1455,  375),
    Entry(kText1,    "Text1",    kEditBox,      kFrame1, "",                               720,  360, 5055,  615, kReadOnly | kTwoLines),
    Entry(kLabel1,   "Label1",   kLabel,        kFrame1, "位置：",                         120,  480,  615,  375),
    Entry(kFrame2,   "Frame2",   kFrame,        kForm1,  "第3步 确定忽略行数",             120, 2640, 6135,  855),
    Entry(kLabel2,   "Label2",   kLabel,        kFrame2, "忽略前几行？",                   240,  480, 1095,  255),
    Entry(kText2,    "Text2",    kEditBox,      kFrame2, "0",                             1440,  345,  855,  360, kDisabled | kDataText),
    Entry(kFrame3,   "Frame3",   kFrame,        kForm1,  "第4步 选择在第一列中要提取的值", 120, 3600, 6135,  855),
    Entry(kLabel3,   "Label3",   kLabel,        kFrame3, "要读取的值：",                   240,  480, 1095,  255),
    Entry(kText3,    "Text3",    kEditBox,      kFrame3, "",                              1320,  360, 2655,  375, kReadOnly | kDataText | kGrey),
    Entry(kFrame4,   "Frame4",   kFrame,        kForm1,  "第5步 确定要保存的文件名",       120, 4560, 6135,  735),
    Entry(kLabel4,   "Label4",   kLabel,        kFrame4, "要保存的文件名：",               240,  360, 1575,  255),
    Entry(kText4,    "Text4",    kEditBox,      kFrame4, "",                              1680,  240, 2535,  375, kDataText),
    Entry(kLabel5,   "Label5",   kLabel,        kFrame4, ".txt",                          4320,  360, 1095,  255),
    Entry(kLabel6,   "Label6",   kLabel,        kFrame3, "还不够精确",                    4320,  480, 1575,  255),
    Entry(kLabel7,   "Label7",   kLabel,        kFrame1, "文本文件个数：",                2040, 1200, 1335,  255),
    Entry(kLabel8,   "Label8",   kLabel,        kFrame1, "0",                             3360, 1200,  855,  255),
    Entry(kFrame5,   "Frame5",   kFrame,        kForm1,  "第6步 执行",                     120, 5400, 6135,  855),
    Entry(kCommand2, "Command2", kPushButton,   kFrame5, "执行",                           360,  360, 1455,  375, kDisabled),
    Entry(kLabel9,   "Label9",   kLabel,        kFrame5, "...",                           2040,  480, 1815,  255),
    Entry(kFrame6,   "Frame6",   kFrame,        kForm1,  "第1步 确定文件格式",             120,  120, 6135,  735),
    Entry(kOption1,  "Option1",  kOptionButton, kFrame6, ".txt",                          1440,  240, 1215,  375, kSelected),
    Entry(kLabel10,  "Label10",  kLabel,        kFrame6, "文件格式",                       360,  360,  975,  255),
    Entry(kOption2,  "Option2",  kOptionButton, kFrame6, ".asc",                          2520,  240, 1095,  375),
};
// clang-format on
static_assert(kLayout.size() == Index(kTableForm) - 1, "a row for every control but the window itself");

constexpr WindowLayout kTableWindow{"Kesmaro 多值提取", 14880, 10200};

/// The hint beside the items: their syntax, one a line.
constexpr std::string_view kItemsSyntax =
    "每行一项：\n"
    "数值（如 550）：该处的值\n"
    "area:X1:X2：X1 到 X2 间的面积\n"
    "max:X1:X2：其间的最大值\n"
    "min:X1:X2：其间的最小值\n"
    "mean:X1:X2：其间的平均值";

// The steps top to bottom, each a frame, and the chart to their right. The rows are in tab order,
// which is the order of the ControlIds, so the Win32 control IDs follow it too.
// clang-format off
constexpr std::array kTableLayout{
//        control             name                 kind           container     caption                    left   top width height
    Entry(kFormatFrame,       "FormatFrame",       kFrame,        kTableForm,   "第1步 确定文件格式",       120,  120, 6135,  735),
    Entry(kTxtOption,         "TxtOption",         kOptionButton, kFormatFrame, ".txt",                    1440,  240, 1215,  375, kSelected),
    Entry(kAscOption,         "AscOption",         kOptionButton, kFormatFrame, ".asc",                    2520,  240, 1095,  375),
    Entry(kFormatLabel,       "FormatLabel",       kLabel,        kFormatFrame, "文件格式",                 360,  360,  975,  255),
    Entry(kFolderFrame,       "FolderFrame",       kFrame,        kTableForm,   "第2步 定位文件夹",         120,  960, 6135, 1575),
    Entry(kFolderLabel,       "FolderLabel",       kLabel,        kFolderFrame, "位置：",                   120,  480,  615,  375),
    Entry(kFolderBox,         "FolderBox",         kEditBox,      kFolderFrame, "",                         720,  360, 5055,  615, kReadOnly | kTwoLines, "位置"),
    Entry(kBrowseButton,      "BrowseButton",      kPushButton,   kFolderFrame, "定位文件夹...",            360, 1080, 1455,  375),
    Entry(kFileCountLabel,    "FileCountLabel",    kLabel,        kFolderFrame, "文本文件个数： 0",        2040, 1200, 2775,  255),
    Entry(kSkipFrame,         "SkipFrame",         kFrame,        kTableForm,   "第3步 确定忽略行数",       120, 2640, 6135,  855),
    Entry(kSkipLabel,         "SkipLabel",         kLabel,        kSkipFrame,   "忽略前几行？",             240,  480, 1095,  255),
    Entry(kSkipBox,           "SkipBox",           kEditBox,      kSkipFrame,   "0",                       1440,  345,  855,  360, kDisabled | kDataText, "忽略前几行？"),
    Entry(kItemsFrame,        "ItemsFrame",        kFrame,        kTableForm,   "第4步 输入要提取的值",     120, 3600, 6135, 2775),
    Entry(kItemsBox,          "ItemsBox",          kEditBox,      kItemsFrame,  "",                         240,  360, 2295, 2280, kDisabled | kDataText | kLines, "要提取的值"),
    Entry(kItemsHint,         "ItemsHint",         kLabel,        kItemsFrame,  kItemsSyntax,              2640,  360, 3375, 1560, kWrap),
    Entry(kItemsVerdict,      "ItemsVerdict",      kLabel,        kItemsFrame,  "",                        2640, 1980, 3375,  720, kWrap),
    Entry(kModeFrame,         "ModeFrame",         kFrame,        kTableForm,   "第5步 选择取值方式",       120, 6480, 6135, 1335),
    Entry(kExactOption,       "ExactOption",       kOptionButton, kModeFrame,   "精确",                     240,  300,  855,  375, kSelected),
    Entry(kNearestOption,     "NearestOption",     kOptionButton, kModeFrame,   "最近",                    1140,  300,  855,  375),
    Entry(kInterpolateOption, "InterpolateOption", kOptionButton, kModeFrame,   "插值",                    2040,  300,  855,  375),
    Entry(kWithinLabel,       "WithinLabel",       kLabel,        kModeFrame,   "最大偏差：",              3120,  360, 1095,  255),
    Entry(kWithinBox,         "WithinBox",         kEditBox,      kModeFrame,   "",                        4260,  300, 1335,  375, kDisabled | kDataText, "最大偏差"),
    Entry(kBaselineCheck,     "BaselineCheck",     kCheckBox,     kModeFrame,   "扣除基线",                 240,  780, 1335,  375),
    Entry(kDecimalCommaCheck, "DecimalCommaCheck", kCheckBox,     kModeFrame,   "小数逗号",                1680,  780, 1335,  375),
    Entry(kColumnLabel,       "ColumnLabel",       kLabel,        kModeFrame,   "数据列：",                3120,  840, 1095,  255),
    Entry(kColumnBox,         "ColumnBox",         kEditBox,      kModeFrame,   "2",                       4260,  780,  735,  375, kDataText, "数据列"),
    Entry(kNameFrame,         "NameFrame",         kFrame,        kTableForm,   "第6步 确定要保存的文件名", 120, 7920, 6135,  735),
    Entry(kNameLabel,         "NameLabel",         kLabel,        kNameFrame,   "要保存的文件名：",         240,  360, 1575,  255),
    Entry(kNameBox,           "NameBox",           kEditBox,      kNameFrame,   "table",                   1680,  240, 2535,  375, kDataText, "要保存的文件名"),
    Entry(kCsvLabel,          "CsvLabel",          kLabel,        kNameFrame,   ".csv",                    4320,  360, 1095,  255),
    Entry(kRunFrame,          "RunFrame",          kFrame,        kTableForm,   "第7步 执行",               120, 8760, 6135, 1320),
    Entry(kExecuteButton,     "ExecuteButton",     kPushButton,   kRunFrame,    "执行",                     360,  360, 1455,  375, kDisabled),
    Entry(kStatusLabel,       "StatusLabel",       kLabel,        kRunFrame,    "...",                     2040,  360, 3975,  840, kWrap),
    Entry(kChartView,         "ChartView",         kChart,        kTableForm,   "",                        6375,  195, 8385, 9885, kPlain, "图表"),
};
// clang-format on
static_assert(kTableLayout.size() == kControlCount - Index(kTableForm) - 1,
              "a row for every control but the window itself");
static_assert(std::ranges::is_sorted(kTableLayout, {}, &ControlRow::id),
              "the rows in the order of their ids");

}  // namespace

const WindowLayout& Form1Window() { return kForm1Window; }

std::span<const ControlRow> Form1Layout() { return kLayout; }

const WindowLayout& TableFormWindow() { return kTableWindow; }

std::span<const ControlRow> TableFormLayout() { return kTableLayout; }

const ControlRow& Row(ControlId id) {
  const std::span<const ControlRow> rows = id < kTableForm ? Form1Layout() : TableFormLayout();
  const auto found = std::find_if(rows.begin(), rows.end(), [id](const ControlRow& c) { return c.id == id; });
  if (found == rows.end()) std::abort();  // a window has no row; asking for one is a programming error
  return *found;
}

TwipRect FormRect(ControlId id) {
  const ControlRow& row = Row(id);
  TwipRect rect{row.left, row.top, row.width, row.height};
  if (row.container != kForm1 && row.container != kTableForm) {
    const ControlRow& frame = Row(row.container);
    rect.left += frame.left;
    rect.top += frame.top;
  }
  return rect;
}

}  // namespace kesmaro::ui
