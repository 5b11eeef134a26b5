#ifndef KESMARO_UI_LAYOUT_H_
#define KESMARO_UI_LAYOUT_H_

// The windows as tables: every control, in tab order, with its kind, container, caption,
// geometry and initial state. Every window backend builds a window from its table: the six-step
// window's, and the table window's, which takes several values and measures from every file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kesmaro::ui {

enum class ControlId {
  kForm1,
  kFrame1,
  kFrame2,
  kFrame3,
  kFrame4,
  kFrame5,
  kFrame6,
  kLabel1,
  kLabel2,
  kLabel3,
  kLabel4,
  kLabel5,
  kLabel6,
  kLabel7,
  kLabel8,
  kLabel9,
  kLabel10,
  kText1,
  kText2,
  kText3,
  kText4,
  kCommand1,
  kCommand2,
  kOption1,
  kOption2,

  // The table window, in tab order, which the Win32 control IDs follow.
  kTableForm,
  kFormatFrame,
  kTxtOption,
  kAscOption,
  kFormatLabel,
  kFolderFrame,
  kFolderLabel,
  kFolderBox,
  kBrowseButton,
  kFileCountLabel,
  kSkipFrame,
  kSkipLabel,
  kSkipBox,
  kItemsFrame,
  kItemsBox,
  kItemsHint,
  kItemsVerdict,
  kModeFrame,
  kExactOption,
  kNearestOption,
  kInterpolateOption,
  kWithinLabel,
  kWithinBox,
  kBaselineCheck,
  kDecimalCommaCheck,
  kColumnLabel,
  kColumnBox,
  kNameFrame,
  kNameLabel,
  kNameBox,
  kCsvLabel,
  kRunFrame,
  kExecuteButton,
  kStatusLabel,
  kChartView,
};

/// The number of ControlIds, both windows' and the windows themselves: the size of an array
/// indexed by Index().
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::kChartView) + 1;

/// A control's place in an array of kControlCount.
constexpr std::size_t Index(ControlId id) { return static_cast<std::size_t>(id); }

enum class ControlKind { kFrame, kLabel, kEditBox, kOptionButton, kPushButton, kCheckBox, kChart };

/// An edit box's background: the system's colour of a window's text area, or grey.
enum class Background { kWindow, kGrey };

/// The grey of `Background::kGrey`, 0xRRGGBB.
inline constexpr std::uint32_t kGreyRgb = 0x808080;

/// Twips: 1440 to the inch; window backends convert them to pixels at the display's DPI.
inline constexpr int kTwipsPerInch = 1440;

struct ControlRow {
  ControlId id;
  std::string_view name;  ///< "Text3": the name GUI tests and accessibility find it by
  ControlKind kind;
  ControlId container;           ///< the window (kForm1, kTableForm) or a frame
  std::string_view caption;      ///< caption or initial text, UTF-8
  int left, top, width, height;  ///< twips, relative to the container
  bool enabled = true;
  bool readOnly = false;   ///< edit boxes
  bool selected = false;   ///< option buttons
  bool multiLine = false;  ///< edit boxes two text lines high
  bool dataFont = false;   ///< the edit boxes for data: "宋体" 12 pt, GB2312 character set
  Background background = Background::kWindow;  ///< edit boxes
  bool lines = false;  ///< an edit box of many lines, Enter starting the next, with a scroll bar
  bool wrap = false;   ///< a label of several lines, wrapped at its width
  /// What screen readers and GUI tests call it where that is not its caption (a box by its
  /// label's caption); empty: the caption, if it is named at all.
  std::string_view accessible = {};
};

struct WindowLayout {
  std::string_view caption;
  int innerWidth, innerHeight;  ///< twips
};

/// The font of the data edit boxes.
struct DataFont {
  std::string_view face;  ///< UTF-8
  int points;
  int weight;
  int charSet;  ///< Windows character set number (134: GB2312)
};

inline constexpr DataFont kDataFont{"宋体", 12, 400, 134};

const WindowLayout& Form1Window();

/// Every control, in tab order.
std::span<const ControlRow> Form1Layout();

/// The table window: the caption and size of the window, and its controls in tab order.
const WindowLayout& TableFormWindow();
std::span<const ControlRow> TableFormLayout();

/// The control's row of its window's table.
const ControlRow& Row(ControlId id);

/// The control's position relative to the window's inner area, in twips.
struct TwipRect {
  int left, top, width, height;
};
TwipRect FormRect(ControlId id);

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_LAYOUT_H_
