#include "chart/table_chart.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>

#include "chart/chart_svg.h"

namespace kesmaro {
namespace {

/// The digits a decimal's mantissa is written with.
std::int64_t DigitsOf(std::uint64_t mantissa) {
  std::int64_t digits = 1;
  for (; mantissa >= 10; mantissa /= 10) ++digits;
  return digits;
}

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

std::optional<Decimal> CellNumber(const std::string& cell, bool decimalComma) {
  return ParseDecimal(cell, decimalComma ? DecimalMark::kComma : DecimalMark::kPoint);
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
    std::vector<std::optional<Decimal>> numbers;
    bool anyNumber = false, beyondDoubles = false;
    std::int64_t largestPower = std::numeric_limits<std::int64_t>::min();
    for (const TableRow& row : table.rows) {
      const std::optional<Decimal> number =
          column < row.cells.size() ? CellNumber(row.cells[column], table.decimalComma) : std::nullopt;
      if (number && number->mantissa != 0) {
        beyondDoubles = beyondDoubles || std::isinf(ToDouble(*number));
        largestPower = std::max(largestPower, number->exponent + DigitsOf(number->mantissa) - 1);
      }
      anyNumber = anyNumber || number.has_value();
      numbers.push_back(number);
    }
    if (beyondDoubles) panel.scale = static_cast<int>(largestPower);
    for (const std::optional<Decimal>& number : numbers) {
      if (!number) {
        panel.y.emplace_back();
        continue;
      }
      // Far enough below the largest that it reads as 0, and the exponent stays in range.
      const std::int64_t exponent =
          std::max<std::int64_t>(std::int64_t{number->exponent} - panel.scale, -1000);
      panel.y.push_back(ToDouble({number->mantissa, static_cast<std::int32_t>(exponent), number->negative}));
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
