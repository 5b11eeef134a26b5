#ifndef KESMARO_UI_WORDING_H_
#define KESMARO_UI_WORDING_H_

// The window's own words, UTF-8, for Form1 and the window backends alike. Each text the user
// reads in more than one place is written here once.

#include <string_view>

namespace kesmaro::ui::wording {

// Label6, the verdict on the value typed.
inline constexpr std::string_view kCanRun = "可以执行";
inline constexpr std::string_view kMissing = "数值不存在";
inline constexpr std::string_view kNotPreciseEnough = "还不够精确";

// Label9, the run's progress.
inline constexpr std::string_view kRunning = "运行中...";
inline constexpr std::string_view kIdle = "...";

// Notices and their titles.
inline constexpr std::string_view kDone = "处理完成";
inline constexpr std::string_view kNoticeTitle = "提示";
inline constexpr std::string_view kErrorTitle = "错误";
inline constexpr std::string_view kBrowseTitle = "请选择一个文件夹：";

/// Ends every message of a run that failed: the output was not touched.
inline constexpr std::string_view kNothingWritten = "没有写入输出文件";
/// Comes before what a handler's unexpected failure says of itself.
inline constexpr std::string_view kHandlerFailed = "处理时出错：";

}  // namespace kesmaro::ui::wording

#endif  // KESMARO_UI_WORDING_H_
