#include "platform/terminal.h"

namespace kesmaro {

std::filesystem::path::string_type TerminalToNative(std::string_view text) { return std::string(text); }

std::string NativeToTerminal(const std::filesystem::path::string_type& text) { return text; }

void WriteTerminal(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

bool WriteData(std::FILE* stream, std::string_view bytes) {
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  return std::fflush(stream) == 0 && written;
}

}  // namespace kesmaro
