#include "chart/table_chart.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <exception>
#include <optional>
#include <system_error>

#include "chart/chart_svg.h"

namespace kesmaro {
namespace {

bool IsDecimalStart(char ch) { return (ch >= '0' && ch <= '9') || ch == '.'; }

/// The folder's own name as UTF-8, `series` for `data/series/` and `data/series/.`.
std::string FolderName(const std::filesystem::path& folder) {
  std::filesystem::path name = folder.lexically_normal();
  if (!name.has_filename()) name = name.parent_path();
  if (name.has_filename()) name = name.filename();
  try {
    const std::u8string text = name.u8string();
    return std::string(text.begin(), text.end());
  } catch (const std::exception&) {  // a name that is no text; the chart still gets drawn
    return "?";
  }
}

}  // namespace

std::optional<double> CellNumber(const std::string& cell, bool decimalComma) {
  const bool plus = cell.starts_with('+');
  std::string text = plus ? cell.substr(1) : cell;
  if (decimalComma) {
    if (text.find('.') != std::string::npos)
      return std::nullopt;  // 1.234,5: a point is no decimal mark there
    std::replace(text.begin(), text.end(), ',', '.');
  }
  // from_chars reads strtod's numbers, which include inf, nan and a sign after the '+'.
  const std::size_t digits = !plus && text.starts_with('-') ? 1 : 0;
  if (digits == text.size() || !IsDecimalStart(text[digits])) return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result read = std::from_chars(text.data(), end, value);
  if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

TableChart ChartOfTable(const Table& table, const TextCodec& codec, const std::filesystem::path& folder) {
  TableChart chart;
  ChartInput& input = chart.input;
  input.title = FolderName(folder);
  input.decimalComma = table.decimalComma;
  const bool numbered =
      std::all_of(table.rows.begin(), table.rows.end(), [](const TableRow& row) { return row.seriesNumber; });
  input.xTitle = numbered ? "文件编号" : "文件序号";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    input.x.push_back(numbered ? *table.rows[i].seriesNumber : static_cast<double>(i + 1));
  }

  for (std::size_t column = 0; column < table.header.size(); ++column) {
    // The header is the item as typed, which the data code page holds; what it cannot show as
    // UTF-8 the SVG writer replaces.
    ChartPanel panel{codec.DecodeToUtf8(table.header[column]).value_or(table.header[column]), {}};
    bool anyNumber = false;
    for (const TableRow& row : table.rows) {
      const std::optional<double> y =
          column < row.cells.size() ? CellNumber(row.cells[column], table.decimalComma) : std::nullopt;
      anyNumber = anyNumber || y.has_value();
      panel.y.push_back(y);
    }
    if (anyNumber) {
      input.panels.push_back(std::move(panel));
    } else {
      chart.withoutNumbers.push_back(std::move(panel.title));
    }
  }
  return chart;
}

Status WriteTableChart(FileSystem& fs, const TextCodec& codec, const Table& table,
                       const std::filesystem::path& folder, const std::filesystem::path& path,
                       TableChart* chart) {
  *chart = ChartOfTable(table, codec, folder);
  return fs.WriteFileAtomically(path, ChartSvg(LayOutChart(chart->input)));
}

}  // namespace kesmaro
