#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include "platform/native_text.h"
#include "platform/terminal.h"
#include "platform/win32_text.h"

namespace kesmaro {

std::filesystem::path::string_type TerminalToNative(std::string_view text) {
  return Utf8ToNative(text).value_or(std::wstring());
}

std::string NativeToTerminal(const std::filesystem::path::string_type& text) { return NativeToUtf8(text); }

void WriteTerminal(std::FILE* stream, std::string_view text) {
  const std::wstring wide = TerminalToNative(text);
  std::fflush(stream);
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // Redirected: the bytes other programs on this system expect, in its ANSI code page. A
  // character it lacks becomes the code page's default character rather than being lost silently.
  const std::string bytes = win32::WideToBytesReplacing(wide, CP_ACP);
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

bool WriteData(std::FILE* stream, std::string_view bytes) {
  // A text-mode stream would turn every LF into CR LF; binary mode for these bytes only.
  std::fflush(stream);
  const int previous = _setmode(_fileno(stream), _O_BINARY);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  const bool flushed = std::fflush(stream) == 0;
  if (previous != -1) _setmode(_fileno(stream), previous);
  return written && flushed;
}

}  // namespace kesmaro
