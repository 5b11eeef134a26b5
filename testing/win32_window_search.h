#ifndef KESMARO_TESTING_WIN32_WINDOW_SEARCH_H_
#define KESMARO_TESTING_WIN32_WINDOW_SEARCH_H_

// Finding and reading windows from outside, as a user's eyes would: for tests that answer a
// modal dialog or drive another process's window.

#include <windows.h>

#include <string>
#include <vector>

namespace kesmaro {

/// The first visible top-level window of `process` of the given class, waiting up to 20 s;
/// nullptr when none appeared.
HWND WaitForWindow(DWORD process, const std::wstring& className);

std::vector<HWND> Children(HWND window);

/// A window's text, also of another thread or process.
std::wstring TextOf(HWND window);

std::wstring ClassOf(HWND window);

}  // namespace kesmaro

#endif  // KESMARO_TESTING_WIN32_WINDOW_SEARCH_H_
