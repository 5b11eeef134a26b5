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
};

constexpr ControlRow Entry(ControlId id, std::string_view name, ControlKind kind, ControlId container,
                           std::string_view caption, int left, int top, int width, int height,
                           unsigned traits = kPlain) {
  ControlRow row{id, name, kind, container, caption, left, top, width, height};
  row.enabled = (traits & kDisabled) == 0;
  row.readOnly = (traits & kReadOnly) != 0;
  row.selected = (traits & kSelected) != 0;
  row.multiLine = (traits & kTwoLines) != 0;
  row.dataFont = (traits & kDataText) != 0;
  if ((traits & kGrey) != 0) row.background = Background::kGrey;
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
static_assert(kLayout.size() + 1 == kControlCount, "a row for every control but the window itself");

}  // namespace

const WindowLayout& Form1Window() { return kForm1Window; }

std::span<const ControlRow> Form1Layout() { return kLayout; }

const ControlRow& Row(ControlId id) {
  const auto found =
      std::find_if(kLayout.begin(), kLayout.end(), [id](const ControlRow& c) { return c.id == id; });
  if (found == kLayout.end()) std::abort();  // kForm1 has no row; asking for it is a programming error
  return *found;
}

TwipRect FormRect(ControlId id) {
  const ControlRow& row = Row(id);
  TwipRect rect{row.left, row.top, row.width, row.height};
  if (row.container != kForm1) {
    const ControlRow& frame = Row(row.container);
    rect.left += frame.left;
    rect.top += frame.top;
  }
  return rect;
}

}  // namespace kesmaro::ui
