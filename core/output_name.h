#ifndef KESMARO_CORE_OUTPUT_NAME_H_
#define KESMARO_CORE_OUTPUT_NAME_H_

#include <filesystem>
#include <optional>
#include <string>

namespace kesmaro {

/// What keeps a text from being the name of one plain file in the working folder.
struct OutputNameFault {
  /// The character at fault as the user can recognise it ("/", ":", "U+0009"), or the whole
  /// name when it is "." or "..".
  std::string shown;
  bool wholeName = false;  ///< the name is "." or "..", not a character of it
};

/// Checks that `name` is one plain file name on every system the outputs travel between: no
/// path separator, no character Windows forbids in names (\ / : * ? " < > | and the control
/// characters), and neither "." nor "..". Names taken from the data (the proposed output name)
/// pass through here before anything is written, so a line such as "../x 5" or "12:30 5"
/// cannot send the output elsewhere. nullopt when the name is fine.
std::optional<OutputNameFault> FindOutputNameFault(const std::filesystem::path::string_type& name);

}  // namespace kesmaro

#endif  // KESMARO_CORE_OUTPUT_NAME_H_
