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

/// The window procedure of a class whose windows each belong to one `Window` object: the one
/// passed to CreateWindowExW, stored with the window at WM_NCCREATE and given its handle there;
/// every message from then on goes to its HandleMessage. `Window` befriends it.
template <typename Window>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // Null for the messages before WM_NCCREATE.
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_WINDOW_CLASS_H_
