#ifndef KESMARO_UI_WIN32_WINDOW_OF_H_
#define KESMARO_UI_WIN32_WINDOW_OF_H_

#include <windows.h>

namespace kesmaro::ui::win32 {

/// The object a window of this program belongs to, for its window procedure: the one passed to
/// CreateWindowExW, stored with the window at WM_NCCREATE. Null for the messages before it.
template <typename Window>
Window* WindowOf(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_WINDOW_OF_H_
