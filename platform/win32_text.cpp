#include "platform/win32_text.h"

#include <windows.h>

namespace kesmaro::win32 {

std::optional<std::string> WideToBytes(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return std::string();
  // UTF-8 and GB18030 hold every character, and Windows takes no default-character flags for
  // them: only ill-formed text (a lone surrogate) can fail.
  const bool complete = codePage == CP_UTF8 || codePage == 54936;
  const DWORD flags = complete ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = complete ? nullptr : &usedDefault;
  const int wideLength = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0, nullptr, usedDefaultPtr);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), wideLength, out.data(), size, nullptr, usedDefaultPtr);
  if (usedDefault) return std::nullopt;
  return out;
}

std::string WideToBytesReplacing(std::wstring_view text, unsigned codePage) {
  const int wideLength = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), wideLength, out.data(), size, nullptr, nullptr);
  return out;
}

std::optional<std::wstring> BytesToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return std::wstring();
  const int byteLength = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), byteLength, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), byteLength, out.data(), size);
  return out;
}

namespace {

/// FormatMessage's text for `code` in `language` (0: the user's), without its trailing line
/// end and full stop; empty when there is none.
std::wstring SystemMessage(unsigned long code, DWORD language) {
  wchar_t* buffer = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length =
      FormatMessageW(flags, nullptr, code, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.' || text.back() == L'\u3002')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string ErrorText(unsigned long code) {
  std::wstring text = SystemMessage(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (text.empty()) text = SystemMessage(code, 0);
  const std::string fallback = "Windows error " + std::to_string(code);
  if (text.empty()) return fallback;
  return WideToBytes(text, CP_UTF8).value_or(fallback);
}

std::string UserErrorText(unsigned long code) {
  return WideToBytes(SystemMessage(code, 0), CP_UTF8).value_or(std::string());
}

}  // namespace kesmaro::win32
