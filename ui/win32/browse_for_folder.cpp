#include "ui/win32/browse_for_folder.h"

#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace kesmaro::ui::win32 {

std::filesystem::path BrowseForFolder(HWND owner, std::wstring_view title) {
  const std::wstring shownTitle = title.empty() ? std::wstring(L"选择目录") : std::wstring(title);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = shownTitle.c_str();
  PIDLIST_ABSOLUTE items = SHBrowseForFolderW(&info);
  if (items == nullptr) return {};  // cancelled

  // Long enough for any path Windows allows, not only MAX_PATH.
  std::wstring path(32768, L'\0');
  const BOOL found =
      SHGetPathFromIDListEx(items, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
  CoTaskMemFree(items);
  if (!found) return {};
  path.resize(path.find(L'\0'));
  return std::filesystem::path(path);
}

}  // namespace kesmaro::ui::win32
