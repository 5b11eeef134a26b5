#ifndef KESMARO_CORE_TABLE_DECIMAL_COMMA_HINT_H_
#define KESMARO_CORE_TABLE_DECIMAL_COMMA_HINT_H_

#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/error.h"
#include "core/file_system.h"
#include "core/table/table.h"

namespace kesmaro {

/// The hint for the first counted line of a file, after its `headerLines`, when it reads as
/// decimal commas; looked for in about the file's first 64 KiB.
Status FindDecimalCommaHint(FileSystem& fs, const std::filesystem::path& path, std::int64_t headerLines,
                            std::optional<DecimalCommaHint>* hint);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_DECIMAL_COMMA_HINT_H_
