#include "core/output_name.h"

#include <cstdio>
#include <string_view>
#include <type_traits>

namespace kesmaro {

std::optional<OutputNameFault> FindOutputNameFault(const std::filesystem::path::string_type& name) {
  using Unit = std::filesystem::path::value_type;
  if (name == std::filesystem::path::string_type(1, Unit('.')) ||
      name == std::filesystem::path::string_type(2, Unit('.'))) {
    return OutputNameFault{std::string(name.size(), '.'), true};
  }
  constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  for (const Unit unit : name) {
    // Every character at fault is ASCII, and in UTF-8 and UTF-16 no unit of another character
    // falls below 0x80.
    const auto code = static_cast<unsigned long>(static_cast<std::make_unsigned_t<Unit>>(unit));
    if (code < 0x20) {
      char shown[8];
      std::snprintf(shown, sizeof shown, "U+%04lX", code);
      return OutputNameFault{shown};
    }
    if (code < 0x80 && kForbidden.find(static_cast<char>(code)) != std::string_view::npos)
      return OutputNameFault{std::string(1, static_cast<char>(code))};
  }
  return std::nullopt;
}

}  // namespace kesmaro
