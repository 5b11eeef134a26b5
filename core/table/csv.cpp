#include "core/table/csv.h"

namespace kesmaro {

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(field);
    return;
  }
  out.push_back('"');
  for (const char ch : field) {
    if (ch == '"') out.push_back('"');
    out.push_back(ch);
  }
  out.push_back('"');
}

std::string TableCsv(const Table& table) {
  std::string out = "file";
  for (const std::string& header : table.header) {
    out.push_back(',');
    AppendCsvField(out, header);
  }
  out.append("\r\n");
  for (const TableRow& row : table.rows) {
    AppendCsvField(out, row.stem);
    for (const std::string& cell : row.cells) {
      out.push_back(',');
      AppendCsvField(out, cell);
    }
    out.append("\r\n");
  }
  return out;
}

}  // namespace kesmaro
