#ifndef KESMARO_CORE_RUN_OUTPUT_NAME_H_
#define KESMARO_CORE_RUN_OUTPUT_NAME_H_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/text/code_page.h"

namespace kesmaro {

/// The most units a file name may have on the common file systems: bytes on POSIX, UTF-16 units
/// on Windows (NTFS, FAT's long names).
inline constexpr std::size_t kLongestFileName = 255;
/// The longest output name, without its extension (".txt", ".csv", ".svg").
inline constexpr std::size_t kLongestOutputName = kLongestFileName - 4;

/// Why a text cannot be the name of one plain file in the working folder.
enum class NameFault {
  kCharacter,  ///< it holds a character no file name may have
  kDotName,    ///< it is "." or ".."
  kDevice,     ///< Windows takes it for a device (CON, NUL, COM1, ...), whatever follows its dot
  kEnd,        ///< it ends in a dot or a space, which Windows drops from a name
  kTooLong,    ///< longer, with its extension, than a file name may be
};

struct OutputNameFault {
  NameFault kind = NameFault::kCharacter;
  /// What is at fault as the user can recognise it: the character ("/", ":", "U+0009", "."), the
  /// whole name (".", ".."), the device ("CON"), or the name's length with its extension.
  std::string shown;
};

/// Checks that `name` with `extension` appended is one plain file name on every system the outputs
/// travel between: no path separator, no character Windows forbids in names (\ / : * ? " < > | and
/// the control characters), neither "." nor "..", no Windows device name, no dot or space at its
/// end, and at most kLongestFileName units as the file system holds it. `nameScheme` is how the
/// system's own text groups into characters (on POSIX the locale's codeset), so that the trail byte
/// of a double-byte character is never taken for one. nullopt when the name is fine.
std::optional<OutputNameFault> FindOutputNameFault(const std::filesystem::path::string_type& name,
                                                   std::string_view extension, CharScheme nameScheme);

/// The fault in the words of a terminal's message, e.g. "holds '|', which no file name may".
std::string EnglishReason(const OutputNameFault& fault);
/// The fault in the words of the window's message, e.g. "中含有字符“|”，".
std::string ChineseReason(const OutputNameFault& fault);

/// What of an output's name must be one plain file name.
enum class OutputNamePart {
  kLast,   ///< its last part: a name the user gave may lead into another folder
  kWhole,  ///< all of it: a name from the data, or typed into the window, names a file here
};

/// A kBadOutputName error when `part` of `name` with `extension` is no plain file name
/// (FindOutputNameFault); the error names `name` and gives both reasons as its causes.
Status CheckOutputName(const std::filesystem::path& name, std::string_view extension, CharScheme nameScheme,
                       OutputNamePart part);

/// The one entry every output goes through before anything is read: the file `name` with
/// `extension` appended, refused when its last part is no plain file name (CheckOutputName) or
/// when it is one of the listed data files of `folder` (kOutputIsDataFile).
Status PrepareOutput(FileSystem& fs, const std::filesystem::path& folder, const DataFileList& list,
                     const std::filesystem::path& name, std::string_view extension, CharScheme nameScheme,
                     std::filesystem::path* output);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_OUTPUT_NAME_H_
