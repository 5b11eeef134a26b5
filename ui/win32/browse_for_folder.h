#ifndef KESMARO_UI_WIN32_BROWSE_FOR_FOLDER_H_
#define KESMARO_UI_WIN32_BROWSE_FOR_FOLDER_H_

#include <windows.h>

#include <filesystem>
#include <string_view>

namespace kesmaro::ui::win32 {

/// Asks for a folder through the shell's folder dialog, modal to `owner`, starting at the
/// desktop. The title is shown above the tree; an empty one shows "选择目录". Returns the
/// chosen folder's full path, or an empty path when the user cancels or chose an item that is
/// not a folder on disk. COM must be initialised on the calling thread.
std::filesystem::path BrowseForFolder(HWND owner, std::wstring_view title);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_BROWSE_FOR_FOLDER_H_
