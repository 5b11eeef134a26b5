#include "ui/layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kesmaro::ui {
namespace {

using enum ControlId;
using enum ControlKind;

constexpr FormSpec kForm1Spec{"Kesmaro", 6495, 6450};

// In tab order. The steps run top to bottom on screen, but step 1 (Frame6) comes last in the
// tab order, and Label10 lies between the two option buttons.
constexpr std::array kLayout{
    ControlSpec{.id = kFrame1, .name = "Frame1", .kind = kFrame, .container = kForm1,
                .caption = "第2步 定位文件夹", .left = 120, .top = 960, .width = 6135, .height = 1575, .tabIndex = 0},
    ControlSpec{.id = kCommand1, .name = "Command1", .kind = kPushButton, .container = kFrame1,
                .caption = "定位文件夹...", .left = 360, .top = 1080, .width = 1455, .height = 375, .tabIndex = 1},
    ControlSpec{.id = kText1, .name = "Text1", .kind = kEditBox, .container = kFrame1, .caption = "",
                .left = 720, .top = 360, .width = 5055, .height = 615, .tabIndex = 2, .readOnly = true,
                .multiLine = true},
    ControlSpec{.id = kLabel1, .name = "Label1", .kind = kLabel, .container = kFrame1, .caption = "位置：",
                .left = 120, .top = 480, .width = 615, .height = 375, .tabIndex = 3},
    ControlSpec{.id = kFrame2, .name = "Frame2", .kind = kFrame, .container = kForm1,
                .caption = "第3步 确定忽略行数", .left = 120, .top = 2640, .width = 6135, .height = 855, .tabIndex = 4},
    ControlSpec{.id = kLabel2, .name = "Label2", .kind = kLabel, .container = kFrame2, .caption = "忽略前几行？",
                .left = 240, .top = 480, .width = 1095, .height = 255, .tabIndex = 5},
    ControlSpec{.id = kText2, .name = "Text2", .kind = kEditBox, .container = kFrame2, .caption = "0",
                .left = 1440, .top = 345, .width = 855, .height = 360, .tabIndex = 6, .enabled = false,
                .dataFont = true},
    ControlSpec{.id = kFrame3, .name = "Frame3", .kind = kFrame, .container = kForm1,
                .caption = "第4步 选择在第一列中要提取的值", .left = 120, .top = 3600, .width = 6135, .height = 855,
                .tabIndex = 7},
    ControlSpec{.id = kLabel3, .name = "Label3", .kind = kLabel, .container = kFrame3, .caption = "要读取的值：",
                .left = 240, .top = 480, .width = 1095, .height = 255, .tabIndex = 8},
    ControlSpec{.id = kText3, .name = "Text3", .kind = kEditBox, .container = kFrame3, .caption = "",
                .left = 1320, .top = 360, .width = 2655, .height = 375, .tabIndex = 9, .readOnly = true,
                .dataFont = true, .hasBackground = true, .background = kGreyBackground},
    ControlSpec{.id = kFrame4, .name = "Frame4", .kind = kFrame, .container = kForm1,
                .caption = "第5步 确定要保存的文件名", .left = 120, .top = 4560, .width = 6135, .height = 735,
                .tabIndex = 10},
    ControlSpec{.id = kLabel4, .name = "Label4", .kind = kLabel, .container = kFrame4,
                .caption = "要保存的文件名：", .left = 240, .top = 360, .width = 1575, .height = 255, .tabIndex = 11},
    ControlSpec{.id = kText4, .name = "Text4", .kind = kEditBox, .container = kFrame4, .caption = "",
                .left = 1680, .top = 240, .width = 2535, .height = 375, .tabIndex = 12, .dataFont = true},
    ControlSpec{.id = kLabel5, .name = "Label5", .kind = kLabel, .container = kFrame4, .caption = ".txt",
                .left = 4320, .top = 360, .width = 1095, .height = 255, .tabIndex = 13},
    ControlSpec{.id = kLabel6, .name = "Label6", .kind = kLabel, .container = kFrame3, .caption = "还不够精确",
                .left = 4320, .top = 480, .width = 1575, .height = 255, .tabIndex = 14},
    ControlSpec{.id = kLabel7, .name = "Label7", .kind = kLabel, .container = kFrame1, .caption = "文本文件个数：",
                .left = 2040, .top = 1200, .width = 1335, .height = 255, .tabIndex = 15},
    ControlSpec{.id = kLabel8, .name = "Label8", .kind = kLabel, .container = kFrame1, .caption = "0",
                .left = 3360, .top = 1200, .width = 855, .height = 255, .tabIndex = 16},
    ControlSpec{.id = kFrame5, .name = "Frame5", .kind = kFrame, .container = kForm1, .caption = "第6步 执行",
                .left = 120, .top = 5400, .width = 6135, .height = 855, .tabIndex = 17},
    ControlSpec{.id = kCommand2, .name = "Command2", .kind = kPushButton, .container = kFrame5, .caption = "执行",
                .left = 360, .top = 360, .width = 1455, .height = 375, .tabIndex = 18, .enabled = false},
    ControlSpec{.id = kLabel9, .name = "Label9", .kind = kLabel, .container = kFrame5, .caption = "...",
                .left = 2040, .top = 480, .width = 1815, .height = 255, .tabIndex = 19},
    ControlSpec{.id = kFrame6, .name = "Frame6", .kind = kFrame, .container = kForm1,
                .caption = "第1步 确定文件格式", .left = 120, .top = 120, .width = 6135, .height = 735, .tabIndex = 20},
    ControlSpec{.id = kOption1, .name = "Option1", .kind = kOptionButton, .container = kFrame6, .caption = ".txt",
                .left = 1440, .top = 240, .width = 1215, .height = 375, .tabIndex = 21, .selected = true},
    ControlSpec{.id = kLabel10, .name = "Label10", .kind = kLabel, .container = kFrame6, .caption = "文件格式",
                .left = 360, .top = 360, .width = 975, .height = 255, .tabIndex = 22},
    ControlSpec{.id = kOption2, .name = "Option2", .kind = kOptionButton, .container = kFrame6, .caption = ".asc",
                .left = 2520, .top = 240, .width = 1095, .height = 375, .tabIndex = 23},
};

}  // namespace

const FormSpec& Form1Spec() { return kForm1Spec; }

std::span<const ControlSpec> Form1Layout() { return kLayout; }

const ControlSpec& Spec(ControlId id) {
  const auto found = std::find_if(kLayout.begin(), kLayout.end(), [id](const ControlSpec& c) { return c.id == id; });
  if (found == kLayout.end()) std::abort();  // kForm1 has no row; asking for it is a programming error
  return *found;
}

TwipRect FormRect(ControlId id) {
  const ControlSpec& spec = Spec(id);
  TwipRect rect{spec.left, spec.top, spec.width, spec.height};
  if (spec.container != kForm1) {
    const ControlSpec& frame = Spec(spec.container);
    rect.left += frame.left;
    rect.top += frame.top;
  }
  return rect;
}

}  // namespace kesmaro::ui
