#ifndef KESMARO_TESTS_WIN32_WINDOW_SEARCH_H_
#define KESMARO_TESTS_WIN32_WINDOW_SEARCH_H_

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

/// Why this process cannot show a real window, for the window tests' skip message; empty when it
/// can. A 32-bit program under Wine 8's WoW64 mode loads no display driver (Wine logs
/// "nodrv_CreateWindow ... no driver could be loaded"): its windows exist but are never drawn,
/// and the edit controls fault in gdi32.ScriptString_pSize on their driverless DCs.
std::string WhyNoRealWindows();

}  // namespace kesmaro

#endif  // KESMARO_TESTS_WIN32_WINDOW_SEARCH_H_
