#ifndef KESMARO_UI_RUN_MESSAGE_H_
#define KESMARO_UI_RUN_MESSAGE_H_

// What both windows show while a run goes on and when it fails, in their one wording.

#include <string>
#include <string_view>

#include "core/error.h"
#include "ui/controls.h"
#include "ui/wording.h"

namespace kesmaro::ui {

/// Keeps the window busy for the length of a run, however the run ends, and leaves its status
/// label idle.
class BusyWindow {
 public:
  BusyWindow(Controls& controls, ControlId status) : controls_(controls), status_(status) {
    controls_.SetBusy(true);
  }
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;
  ~BusyWindow() {
    controls_.SetText(status_, wording::kIdle);
    controls_.SetBusy(false);
  }

 private:
  Controls& controls_;
  ControlId status_;
};

/// The Chinese message of a failed run, naming the file (`file`: the error's, as the window shows
/// it) and the cause, and ending in what was written: by default nothing.
std::string RunErrorMessage(const Error& error, std::string_view file, std::string_view written = {});

/// The message of an output name typed into step `step` that is no plain file name (`error`, a
/// kBadOutputName from CheckOutputName).
std::string BadNameMessage(std::string_view typedName, const Error& error, int step);

/// A run that ran out of memory: it holds what it makes until it is written.
inline constexpr std::string_view kOutOfMemory = "内存不足，无法完成处理。没有写入输出文件。";

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_RUN_MESSAGE_H_
