#ifndef KESMARO_UI_WIN32_WINDOW_CLASS_H_
#define KESMARO_UI_WIN32_WINDOW_CLASS_H_

// The window classes of this program, whose windows each belong to one object: the form windows
// and the chart view.

#include <windows.h>

namespace kesmaro::ui::win32 {

inline HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

/// Registers the class `className` once, with the arrow cursor, `style` and `background`; true
/// when it is registered, now or before.
inline bool RegisterWindowClass(const wchar_t* className, WNDPROC windowProc, UINT style, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(Instance(), className, &windowClass)) return true;
  windowClass.style = style;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0;
}

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

#endif  // KESMARO_UI_WIN32_WINDOW_CLASS_H_
