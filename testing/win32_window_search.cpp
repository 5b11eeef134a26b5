#include "testing/win32_window_search.h"

namespace kesmaro {
namespace {

struct WindowSearch {
  DWORD process;
  const std::wstring& className;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || ClassOf(window) != search->className || !IsWindowVisible(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK AddChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD process, const std::wstring& className) {
  WindowSearch search{process, className};
  for (int attempt = 0; attempt < 400 && search.found == nullptr; ++attempt) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(50);
  }
  return search.found;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT, not GetWindowText, which reads only the caption of another process's window.
  wchar_t text[512] = {};
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace kesmaro
