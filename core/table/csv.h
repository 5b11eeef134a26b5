#ifndef KESMARO_CORE_TABLE_CSV_H_
#define KESMARO_CORE_TABLE_CSV_H_

#include <string>
#include <string_view>

#include "core/table/table.h"

namespace kesmaro {

/// Appends one CSV field, quoted when it holds a comma, a double quote, a CR or an LF.
void AppendCsvField(std::string& out, std::string_view field);

/// The table as CSV (RFC 4180, CR LF rows) in the data code page: a header row `file,...`, then
/// one row per file of its stem and its cells.
std::string TableCsv(const Table& table);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_CSV_H_
