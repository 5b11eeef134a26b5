#ifndef KESMARO_UI_QT_WINDOW_PROGRAM_H_
#define KESMARO_UI_QT_WINDOW_PROGRAM_H_

#include <filesystem>
#include <functional>
#include <string_view>

#include "core/file_system.h"
#include "core/text/text_codec.h"

namespace kesmaro::ui::qt {

/// A window program on a Linux desktop: its name, its usage and whether it takes a FOLDER.
struct WindowProgram {
  std::string_view name;     ///< "kesmaro", also the name of its menu entry
  std::string_view title;    ///< for a message box before the window exists
  std::string_view usage;    ///< --help's text before the options' lines
  bool takesFolder = false;  ///< [FOLDER]: the folder listed at start instead of its own
};

/// What the window is opened with.
struct WindowStart {
  FileSystem& disk;
  const TextCodec& codec;        ///< the data code page
  bool codePageNamed = false;    ///< with --encoding: no series chooses its own
  std::filesystem::path folder;  ///< the FOLDER given; empty for the program's own
};

/// Runs the program: --help without a display, the command line read by kesmaro-cli's rules, the
/// data code page opened, Qt's own texts in Chinese for Chinese users; then `open` makes the
/// window and runs it, and its result is the exit code.
int RunWindowProgram(int argc, char** argv, const WindowProgram& program,
                     const std::function<int(const WindowStart&)>& open);

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_WINDOW_PROGRAM_H_
