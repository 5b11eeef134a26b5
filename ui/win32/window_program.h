#ifndef KESMARO_UI_WIN32_WINDOW_PROGRAM_H_
#define KESMARO_UI_WIN32_WINDOW_PROGRAM_H_

#include <functional>
#include <optional>
#include <string_view>

#include "core/file_system.h"
#include "core/text/text_codec.h"

namespace kesmaro::ui::win32 {

/// Runs a window program on Windows: the common controls and COM (the shell's folder dialog
/// needs it) set up, the data code page opened from the system's; then `open` makes the window
/// and runs its messages, and its result is the exit code, nullopt when the window could not be
/// made. Failures before the window exists are said in a box titled `title`.
int RunWindowProgram(std::wstring_view title,
                     const std::function<std::optional<int>(FileSystem& disk, const TextCodec& codec)>& open);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_WINDOW_PROGRAM_H_
