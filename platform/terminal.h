#ifndef KESMARO_PLATFORM_TERMINAL_H_
#define KESMARO_PLATFORM_TERMINAL_H_

// Text as the user's terminal has it. On POSIX that is the locale's bytes, unchanged; on
// Windows it is UTF-8 inside the program, and wide text or the ANSI code page outside it.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace kesmaro {

/// The system's own text for terminal text (an argument, say).
std::filesystem::path::string_type TerminalToNative(std::string_view text);

/// Terminal text for the system's own text (a file name, say).
std::string NativeToTerminal(const std::filesystem::path::string_type& text);

/// Writes terminal text to stdout or stderr: to a Windows console as wide text, to a pipe or
/// file as the system code page.
void WriteTerminal(std::FILE* stream, std::string_view text);

/// Writes bytes to stdout or stderr exactly as they are, with no conversion of text or line ends;
/// false when they could not all be written.
bool WriteData(std::FILE* stream, std::string_view bytes);

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_TERMINAL_H_
