#include "core/run/output_name.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <type_traits>

namespace kesmaro {
namespace {

using NameText = std::filesystem::path::string_type;
using Unit = std::filesystem::path::value_type;

/// The names Windows keeps for its devices, in every folder and with any extension.
constexpr std::array<std::string_view, 22> kDevices = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

unsigned long CodeOf(Unit unit) { return static_cast<std::make_unsigned_t<Unit>>(unit); }

/// The device `name` stands for, or empty: its part before the first dot, without the spaces
/// that end it, in any case.
std::string_view DeviceOf(const NameText& name) {
  std::string base;
  for (const Unit unit : name) {
    const unsigned long code = CodeOf(unit);
    if (code == '.') break;
    if (code >= 0x80) return {};
    base.push_back(static_cast<char>(code >= 'a' && code <= 'z' ? code - 32 : code));
  }
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (const std::string_view device : kDevices) {
    if (device == base) return device;
  }
  return {};
}

/// The units of the character that starts at `name[pos]`. The units of a wide name are
/// characters or surrogates, none of which falls below 0x80 unless it is ASCII.
template <typename Text>
std::size_t CharUnits(const Text& name, std::size_t pos, CharScheme scheme) {
  if constexpr (std::is_same_v<typename Text::value_type, char>) {
    return CharLength(scheme, name, pos);
  } else {
    return 1;
  }
}

/// The ASCII character that starts at `name[pos]`, or nullopt when a longer one does; sets
/// `*length` to the character's units.
std::optional<char> AsciiAt(const NameText& name, std::size_t pos, CharScheme scheme, std::size_t* length) {
  const unsigned long code = CodeOf(name[pos]);
  *length = code < 0x80 ? 1 : CharUnits(name, pos, scheme);
  return code < 0x80 ? std::optional<char>(static_cast<char>(code)) : std::nullopt;
}

}  // namespace

std::optional<OutputNameFault> FindOutputNameFault(const NameText& name, std::string_view extension,
                                                   CharScheme nameScheme) {
  if (name == NameText(1, Unit('.')) || name == NameText(2, Unit('.')))
    return OutputNameFault{NameFault::kDotName, std::string(name.size(), '.')};
  constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  for (std::size_t pos = 0, length = 0; pos < name.size(); pos += length) {
    const std::optional<char> ascii = AsciiAt(name, pos, nameScheme, &length);
    if (!ascii) continue;
    if (static_cast<unsigned char>(*ascii) < 0x20) {
      char shown[8];
      std::snprintf(shown, sizeof shown, "U+%04X", static_cast<unsigned>(*ascii));
      return OutputNameFault{NameFault::kCharacter, shown};
    }
    if (kForbidden.find(*ascii) != std::string_view::npos)
      return OutputNameFault{NameFault::kCharacter, std::string(1, *ascii)};
  }
  if (const std::string_view device = DeviceOf(name); !device.empty())
    return OutputNameFault{NameFault::kDevice, std::string(device)};
  if (!name.empty() && (name.back() == Unit('.') || name.back() == Unit(' ')))
    return OutputNameFault{NameFault::kEnd, std::string(1, static_cast<char>(name.back()))};
  if (const std::size_t units = name.size() + extension.size(); units > kLongestFileName)
    return OutputNameFault{NameFault::kTooLong, std::to_string(units)};
  return std::nullopt;
}

std::string EnglishReason(const OutputNameFault& fault) {
  switch (fault.kind) {
    case NameFault::kCharacter:
      return "holds '" + fault.shown + "', which no file name may";
    case NameFault::kDotName:
      return "is '" + fault.shown + "', which no file name may";
    case NameFault::kDevice:
      return "is the Windows device '" + fault.shown + "', which no file name may";
    case NameFault::kEnd:
      return "ends in '" + fault.shown + "', which Windows drops from file names";
    case NameFault::kTooLong:
      return "is " + fault.shown + (sizeof(Unit) == 1 ? " bytes" : " characters") +
             " long with its extension, more than the " + std::to_string(kLongestFileName) +
             " a file name may have";
  }
  return "cannot be a file name";
}

std::string ChineseReason(const OutputNameFault& fault) {
  switch (fault.kind) {
    case NameFault::kCharacter:
      return "中含有字符“" + fault.shown + "”，";
    case NameFault::kDotName:
      return "";
    case NameFault::kDevice:
      return "是 Windows 的设备名“" + fault.shown + "”，";
    case NameFault::kEnd:
      return "以“" + fault.shown + "”结尾，";
    case NameFault::kTooLong:
      return "太长（连同扩展名 " + fault.shown + (sizeof(Unit) == 1 ? " 字节" : " 个字符") + "，最多 " +
             std::to_string(kLongestFileName) + "），";
  }
  return "";
}

Status CheckOutputName(const std::filesystem::path& name, std::string_view extension, CharScheme nameScheme,
                       OutputNamePart part) {
  const std::optional<OutputNameFault> fault = FindOutputNameFault(
      part == OutputNamePart::kWhole ? name.native() : name.filename().native(), extension, nameScheme);
  if (!fault) return std::nullopt;
  return Error{ErrorKind::kBadOutputName, name, EnglishReason(*fault), ChineseReason(*fault)};
}

Status PrepareOutput(FileSystem& fs, const std::filesystem::path& folder, const DataFileList& list,
                     const std::filesystem::path& name, std::string_view extension, CharScheme nameScheme,
                     std::filesystem::path* output) {
  if (Status error = CheckOutputName(name, extension, nameScheme, OutputNamePart::kLast)) return error;
  *output = name;
  *output += std::filesystem::path(std::string(extension));
  return RefuseDataFileAsOutput(fs, folder, list, *output);
}

}  // namespace kesmaro
