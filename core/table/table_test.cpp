#include "core/table/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/table/csv.h"
#include "core/table/measures.h"
#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

struct TableCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files = {};  ///< name and bytes, in series order
  std::vector<std::string> values;
  std::string expected;  ///< the CSV
  std::size_t emptyCells = 0;
  std::size_t column = 2;
  bool nearest = false;
  const char* within = nullptr;
  std::int64_t skip = 0;
  bool interpolate = false;
  bool baseline = false;
  DecimalMark mark = DecimalMark::kPoint;
  std::size_t hintLine = 0;  ///< the line of the first file the decimal-comma hint names; 0 none
  std::optional<std::size_t> pointsHeld = {};  ///< the most points a file's pass held, when told
};

/// A peak of height 4 at x 5 on the sloping line y = x, at x 0 to 10, in the order given.
std::string SlopedPeak(std::vector<int> order) {
  std::string text = "x y\n";
  for (const int x : order)
    text += std::to_string(x) + " " + std::to_string(x + (x == 5 ? 4 : x == 4 || x == 6 ? 2 : 0)) + "\n";
  return text;
}
const std::vector<std::pair<std::string, std::string>> kPeakOrders = {
    {"1.txt", SlopedPeak({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
    {"2.txt", SlopedPeak({10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0})},
    {"3.txt", SlopedPeak({6, 2, 9, 0, 5, 10, 3, 8, 1, 4, 7})}};

/// The items typed, read as the front ends read them.
std::vector<TableItem> Items(const std::vector<std::string>& typed, DecimalMark mark = DecimalMark::kPoint) {
  std::vector<TableItem> items;
  for (const std::string& text : typed) items.push_back(ParseTableItem(text, mark).value());
  return items;
}

class TableTest : public ::testing::TestWithParam<TableCase> {
 protected:
  /// Builds the table, and checks that reading the files a byte at a time gives the same bytes.
  std::string Make(const TableCase& c, TableSummary* summary) {
    TableRequest request{{"data", {}, c.skip}, Items(c.values, c.mark), c.column, c.nearest};
    if (c.within) request.within = ParseDistance(c.within, c.mark);
    request.interpolate = c.interpolate;
    request.baseline = c.baseline;
    request.mark = c.mark;
    request.series.list = fs_.PutSeries("data", c.files);
    Table table;
    EXPECT_OK(MakeTable(fs_, codec_, request, &table, summary));
    fs_.readSize = 1;
    Table again;
    EXPECT_OK(MakeTable(fs_, codec_, request, &again, summary));
    EXPECT_EQ(TableCsv(again), TableCsv(table)) << "differs when read a byte at a time";
    return TableCsv(table);
  }

  MemoryFileSystem fs_;
  PassThroughCodec codec_;
};

TEST_P(TableTest, BuildsTheCsv) {
  TableSummary summary;
  EXPECT_EQ(Make(GetParam(), &summary), GetParam().expected);
  EXPECT_EQ(summary.filesRead, GetParam().files.size());
  EXPECT_EQ(summary.values, GetParam().values.size());
  EXPECT_EQ(summary.emptyCells, GetParam().emptyCells);
  EXPECT_EQ(summary.decimalCommaHint ? summary.decimalCommaHint->lineNumber : 0, GetParam().hintLine);
  EXPECT_EQ(GetParam().pointsHeld.value_or(summary.pointsHeld), summary.pointsHeld);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableTest,
    ::testing::Values(
        // The first field is a number only when all of it is one; how numbers are written is the
        // decimals' (decimal_test), and a value takes the first line equal to it however written.
        TableCase{.name = "NumberSpellings",
                  .files = {{"1.txt",
                             "550nm no\r\n5.5e2.0 no\r\n5.5E+2 a\r\n550.0 second\r\n-0.50 b\r\n.25 c\r\n"}},
                  .values = {"550", "-.5", "0.250", "0"},
                  .expected = "file,550,-.5,0.250,0\r\n1,a,b,c,\r\n",
                  .emptyCells = 1},
        TableCase{.name = "HeadersFootersAndEndLinesArePassedOver",
                  .files = {{"1.txt",
                             "550 header line\r\nwavelength intensity\r\n\r\n# 550 nm\r\n549 1\r\n550 2\r\n"
                             "550 3\r\nEND\r\nTotal: 2 lines\r\n"},
                            {"2.txt", "550 header line\r\nsample 550\r\n550 4\r\nEND 550\r\n"}},
                  .values = {"550"},
                  .expected = "file,550\r\n1,2\r\n2,4\r\n",
                  .skip = 1},
        TableCase{.name = "NearestTakesTheFirstOfEquallyNearLines",
                  .files = {{"1.txt", "549.9 a\n550.1 b\n-5.2 c\n-4.8 d\n0.1 e\n0.3 f\n"},
                            {"2.txt", "550.1 b\n549.9 a\n-4.8 d\n-5.2 c\n0.3 f\n0.1 e\n550 exact\n"}},
                  .values = {"550", "-5", "0.2", "1e6"},
                  .expected = "file,550,550 x,-5,-5 x,0.2,0.2 x,1e6,1e6 x\r\n"
                              "1,a,549.9,c,-5.2,e,0.1,b,550.1\r\n"
                              "2,exact,550,d,-4.8,f,0.3,b,550.1\r\n",
                  .nearest = true},
        // 1.3 is nearer to the value than 1, though not by its double, nor by the sum of doubles
        // that reaches as far from the value as 1 is.
        TableCase{.name = "NearestTellsLinesPassedOverByTheirDecimals",
                  .files = {{"1.txt", "1 a\n1.3 b\n2 c\n"}, {"2.txt", "-1 a\n-1.3 b\n-2 c\n"}},
                  .values = {"1.150000000000000001", "-1.150000000000000001"},
                  .expected = "file,1.150000000000000001,1.150000000000000001 x,-1.150000000000000001,"
                              "-1.150000000000000001 x\r\n1,b,1.3,a,1\r\n2,a,-1,b,-1.3\r\n",
                  .nearest = true},
        TableCase{.name = "ColumnOutOfRangeLeavesTheCellEmpty",
                  .files = {{"1.txt", "1 a b c five\n2 a\n3\n"}},
                  .values = {"1", "2", "3"},
                  .expected = "file,1,2,3\r\n1,five,,\r\n",
                  .emptyCells = 2,
                  .column = 5},
        TableCase{.name = "FirstColumnIsTheNumberAsWritten",
                  .files = {{"1.txt", "1.50E0 a\n"}},
                  .values = {"1.5"},
                  .expected = "file,1.5\r\n1,1.50E0\r\n",
                  .column = 1},
        // GBK bytes (trail bytes 5C and 7E among them) are cells' bytes like any other; a stem is
        // quoted as a cell is.
        TableCase{.name = "FieldsAreSeparatedByRunsOfBlanksCommasAndSemicolons",
                  .files = {{"2,5.txt", " \t1,;\t \xB2\x5C;b\n2;;\"q\"\tx\n3 \xB1\x7E\"hi\"\n"}},
                  .values = {"1", "2", "3"},
                  .expected = "file,1,2,3\r\n\"2,5\",\xB2\x5C,\"\"\"q\"\"\",\"\xB1\x7E\"\"hi\"\"\"\r\n"},
        TableCase{.name = "LinesLongerThanABlockKeepOnlyTheirCells",
                  // Around the reader's 128 KiB block: a cell after it, a cell longer than it, a first
                  // field that starts after a block's worth of separators, and one that ends right at
                  // the block's edge.
                  .files = {{"1.txt", "1 " + std::string(200000, 'a') + " c\n2 b " +
                                          std::string(300000, 'z') + "\n3" + std::string(200000, ' ') +
                                          "x y\n" + std::string(200000, ' ') + "4 a b\n5 a b\n"},
                            {"2.txt", "550." + std::string(131068, '0') + " a cell\n550 a next\n"}},
                  .values = {"1", "2", "3", "4", "5", "550"},
                  .expected = "file,1,2,3,4,5,550\r\n1,c," + std::string(300000, 'z') +
                              ",y,b,b,\r\n2,,,,,,cell\r\n",
                  .emptyCells = 6,
                  .column = 3},
        TableCase{
            .name = "NumbersAreComparedAsWrittenExactly",
            // 1.9e-323 and 5e-324 are as far from 1.2e-323, though their doubles are not.
            .files = {{"1.txt",
                       "600000000000001 one_away\n1e-400 tiny\n0 zero\n1.9e-323 s\n5e-324 t\n12.2 a\n"},
                      {"2.txt",
                       "600000000000001 one_away\n600000000000000 exact\n1.000000000000001e308 near\n"
                       "1e308 exact\n"}},
            .values = {"600000000000000", "1e-400", "0", "12.25", "1e308", "1.2e-323"},
            .expected =
                "file,600000000000000,600000000000000 x,1e-400,1e-400 x,0,0 x,12.25,12.25 x,1e308,1e308 x,"
                "1.2e-323,1.2e-323 x\r\n"
                "1,,,tiny,1e-400,zero,0,a,12.2,,,s,1.9e-323\r\n"
                "2,exact,600000000000000,,,,,,,exact,1e308,,\r\n",
            .emptyCells = 6,
            .within = "0.05"},
        TableCase{
            .name = "RangeMeasuresDoNotDependOnTheOrderOfX",
            .files = kPeakOrders,
            .values = {"area:2:8", "area:8.5:1.5", "area:-5:20", "max:2:8", "min:2:8", "mean:4:6",
                       "mean:0:10", "max:20:30"},
            .expected = "file,area:2:8,area:8.5:1.5,area:-5:20,max:2:8,max:2:8 x,min:2:8,min:2:8 x,mean:4:6,"
                        "mean:0:10,max:20:30,max:20:30 x\r\n"
                        "1,38,43,58,9,5,2,2,7.666666666666667,5.7272727272727275,,\r\n"
                        "2,38,43,58,9,5,2,2,7.666666666666667,5.7272727272727275,,\r\n"
                        "3,38,43,58,9,5,2,2,7.666666666666667,5.7272727272727275,,\r\n",
            .emptyCells = 3,
            .skip = 1},
        // A point held for one range is told inside another or out by its decimals where its double
        // equals that range's end.
        TableCase{
            .name = "HeldPointsBesideTheEndsByTheirDecimals",
            .files = {{"1.txt",
                       "13 1\n12.25000000000000001 100\n12.25 2\n8 2\n5 2\n4.999999999999999999 100\n"}},
            .values = {"area:5:12.25", "area:4:5", "area:12.25:13"},
            .expected = "file,area:5:12.25,area:4:5,area:12.25:13\r\n1,14.5,0,1.125\r\n"},
        TableCase{.name = "BaselineLeavesThePeakAboveTheSlope",
                  .files = kPeakOrders,
                  // max:0:10 names the line highest above the baseline, not the highest cell (10);
                  // min:0:10 the first in file order of the lines on it
                  .values = {"area:2:8", "area:1.5:8.5", "area:-5:20", "max:2:8", "mean:4:6", "max:0:10",
                             "min:0:10"},
                  .expected = "file,area:2:8,area:1.5:8.5,area:-5:20,max:2:8,max:2:8 x,mean:4:6,max:0:10,"
                              "max:0:10 x,min:0:10,min:0:10 x\r\n1,8,8,8,4,5,7.666666666666667,4,5,0,0\r\n"
                              "2,8,8,8,4,5,7.666666666666667,4,5,0,10\r\n"
                              "3,8,8,8,4,5,7.666666666666667,4,5,0,2\r\n",
                  .skip = 1,
                  .baseline = true,
                  // Every line is inside a range that holds it in each file, and is held once.
                  .pointsHeld = 11},
        // An area over a single line is 0; over none, though lines lie either side, nothing. The
        // values on the lines of the min and the max leave those to the ranges.
        TableCase{
            .name = "RangesPassOverCellsThatAreNoNumbers",
            .files = {{"1.txt", "1 2\n2 n/a\n3 4\n4\n"}},
            .values = {"1", "area:1:4", "max:1:4", "min:1:4", "mean:2:2", "area:3:9", "area:1.5:2.5", "3"},
            .expected = "file,1,area:1:4,max:1:4,max:1:4 x,min:1:4,min:1:4 x,mean:2:2,area:3:9,area:1.5:2.5,3"
                        "\r\n1,2,6,4,3,2,1,,0,,4\r\n",
            .emptyCells = 2},
        // Of equal x, the line next to a range end on the curve is the last below it and the
        // first above it in file order, whichever way x runs.
        TableCase{.name = "EqualXFollowEachOtherInFileOrder",
                  .files = {{"1.txt", "1 0\n1 5\n2 10\n2 20\n"}, {"2.txt", "2 20\n2 10\n1 5\n1 0\n"}},
                  .values = {"area:1.5:2", "area:1:1.5"},
                  .expected = "file,area:1.5:2,area:1:1.5\r\n1,4.375,3.125\r\n2,7.5,2.5\r\n"},
        // x written in turn at two widths below a range: the curve starts from the line just below
        // it, though the lines of one width are passed over by their bytes and the others judged.
        TableCase{.name = "TheLineBelowARangeAmongXOfTwoWidths",
                  .files = {{"1.txt",
                             "996.70 980.5\n1003.13 31.5\n996.68 835.5\n996.63 546.5\n1003.29 643.5\n"
                             "996.45 841.5\n1005.63 283.5\n996.43 293.5\n994.97 293.5\n"}},
                  .values = {"area:1005:1006"},
                  .expected = "file,area:1005:1006\r\n1,209.13576923076707\r\n"},
        TableCase{.name = "MeansCarryTheirRoundingErrors",
                  .files = {{"1.txt", Repeated("1 0.1\n", 1000)}},
                  .values = {"mean:1:1"},
                  .expected = "file,mean:1:1\r\n1,0.1\r\n"},
        TableCase{
            .name = "DecimalCommas",
            .files = {{"1.txt", "550,5;0,25\n551,0\t0,75\n552 1.5\n"}},
            .values = {"550,5", "550.75", "551", "mean:550:552"},
            .expected = "file,\"550,5\",550.75,551,mean:550:552\r\n1,\"0,25\",\"0,5\",\"0,75\",\"0,5\"\r\n",
            .interpolate = true,
            .mark = DecimalMark::kComma},
        TableCase{.name = "DecimalCommasReadAsPointsGiveAHint",
                  .files = {{"1.txt", "h\r\n\r\n550,5;0,418"}},
                  .values = {"550"},
                  .expected = "file,550\r\n1,5\r\n",
                  .skip = 1,
                  .hintLine = 3},
        TableCase{.name = "SemicolonsAndCommaSeparatedPointsGiveNoHint",
                  .files = {{"1.txt", "550.5;0.418\n"}, {"2.txt", "550,418\n"}, {"3.txt", "550, 418;3,5\n"}},
                  .values = {"550.5"},
                  .expected = "file,550.5\r\n1,0.418\r\n2,\r\n3,\r\n",
                  .emptyCells = 2},
        TableCase{.name = "NoFilesGiveTheHeaderRowAlone", .values = {"1", "2"}, .expected = "file,1,2\r\n"}),
    [](const ::testing::TestParamInfo<TableCase>& param) { return std::string(param.param.name); });

/// Random first fields for file `file`: runs going up, going down and in no order, with near
/// ties, numbers written in several ways, and numbers whose doubles are equal or nearly so.
/// Lines written alike, which the searches pass over by key, are SearchesGiveTheTableOfEveryLine's.
std::vector<std::string> RandomXs(std::mt19937& random, int file) {
  std::vector<std::string> xs;
  const char* const tails[] = {
      "", ".5", ".25", ".2", ".0005", ".4999999999999", ".50000000000001", "e0", ".12345678", "000000.5"};
  const char* const close[] = {
      "0", "-0.0", "1e-400", "-1e-400", "600000000000001", "6e14", "12.250000000000000001"};
  for (int line = 0; line < 40; ++line) {
    const int whole = static_cast<int>(random() % 30) - 5;
    xs.push_back(random() % 8 == 0 ? close[random() % std::size(close)]
                                   : std::to_string(whole) + tails[random() % std::size(tails)]);
  }
  const auto byNumber = [](const std::string& a, const std::string& b) {
    return *ParseDecimal(a) < *ParseDecimal(b);
  };
  if (file % 3 == 0) std::sort(xs.begin(), xs.end(), byNumber);
  if (file % 3 == 1) std::sort(xs.rbegin(), xs.rend(), byNumber);
  return xs;
}

/// Checks that the table of `request` over `fs` holds the `expected` cells, file by file, read
/// whole and a byte at a time; `what` names the case in a failure.
void ExpectCells(MemoryFileSystem& fs, const TableRequest& request,
                 const std::vector<std::vector<std::string>>& expected, const std::string& what) {
  PassThroughCodec codec;
  for (const std::size_t readSize : {std::size_t{4096}, std::size_t{1}}) {
    fs.readSize = readSize;
    Table table;
    TableSummary summary;
    ASSERT_OK(MakeTable(fs, codec, request, &table, &summary));
    ASSERT_EQ(table.rows.size(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row) {
      EXPECT_EQ(table.rows[row].cells, expected[row]) << "file " << row << ", read size " << readSize << what;
    }
  }
}

/// Values and ranges on random files (RandomXs) whose cells are sometimes no number, with a line
/// that is no number and lines ended by CR LF, LF and CR alike, read whole and a byte at a time,
/// against what the decimals say: an exact value, or one within 0, takes the first line equal to
/// it; a nearest value the first of the nearest lines; an interpolated one the cell of the first
/// line on it, or y between the first two consecutive lines either side of it; a range measures
/// the lines in it and the nearest lines beyond its ends that have a number, ranges overlapping,
/// sharing ends, and with both ends on one double among them.
TEST(TableRandomTest, TakesTheLinesTheDecimalsChooseInAnyOrder) {
  const std::vector<std::string> values = {
      "5", "12.25", "-3", "99", "0.0005", "7.4999999999999", "1e-400", "0", "600000000000000"};
  const std::vector<std::pair<std::string, std::string>> ends = {
      {"5", "12.25"}, {"-3", "0.0005"}, {"7.4999999999999", "7.5"},      {"20", "99"}, {"-9", "-7"},
      {"0", "5"},     {"-5", "24"},     {"12.25", "12.2500000000000001"}};
  std::vector<std::string> ranges;
  for (const auto& [low, high] : ends) {
    ranges.push_back("area:" + low + ":" + high);
    ranges.push_back("max:" + high + ":" + low);
  }
  TableRequest exact{{"data", {}, 0}, Items(values)},
      within = exact, nearest{{"data", {}, 0}, Items(values), 2, true}, interpolated = exact,
      measured{{"data", {}, 0}, Items(ranges)};
  within.within = Decimal{};
  interpolated.interpolate = true;
  std::vector<std::vector<std::string>> exactCells, withinCells, nearestCells, interpolatedCells,
      measuredCells;
  const auto computed = [](double value) {
    char written[32];
    return std::string(written, std::to_chars(written, written + sizeof written, value).ptr);
  };
  std::mt19937 random(18);
  MemoryFileSystem fs;
  std::vector<std::string> texts;
  for (int file = 0; file < 30; ++file) {
    const std::vector<std::string> xs = RandomXs(random, file);
    std::vector<std::string> ys;
    std::string text;
    for (std::size_t line = 0; line < xs.size(); ++line) {
      ys.push_back(random() % 3 == 0 ? "n/a" : std::to_string(random() % 50));
      text += (line == 7 ? "x 0\r\n" : "") + xs[line] + (line % 2 ? "\t" : " ") + ys[line] +
              (line % 3 == 0   ? "\r\n"
               : line % 3 == 1 ? "\n"
                               : "\r");
    }
    const auto x = [&](std::size_t line) { return *ParseDecimal(xs[line]); };
    const auto point = [&](std::size_t line) -> std::optional<CurvePoint> {
      if (ys[line] == "n/a") return std::nullopt;
      return CurvePoint{ToDouble(x(line)), std::stod(ys[line])};
    };
    std::vector<std::string>& same = exactCells.emplace_back();
    std::vector<std::string>& near = nearestCells.emplace_back();
    std::vector<std::string>& within0 = withinCells.emplace_back();
    std::vector<std::string>& between = interpolatedCells.emplace_back();
    for (const std::string& value : values) {
      const Decimal v = *ParseDecimal(value);
      std::size_t best = 0;
      for (std::size_t line = 1; line < xs.size(); ++line) {
        if (DistanceBetween(x(line), v) < DistanceBetween(x(best), v)) best = line;
      }
      near.insert(near.end(), {ys[best], xs[best]});
      const bool hit = x(best) == v;  // then the first nearest line is the first equal one
      same.push_back(hit ? ys[best] : "");
      within0.insert(within0.end(), {same.back(), hit ? xs[best] : ""});
      std::string cell;
      for (std::size_t line = 0; line < xs.size(); ++line) {
        if (x(line) == v) {
          cell = ys[line];
          break;
        }
        if (line > 0 && ((x(line - 1) < v && v < x(line)) || (x(line) < v && v < x(line - 1)))) {
          if (point(line - 1) && point(line))
            cell = computed(Interpolate(*point(line - 1), *point(line), ToDouble(v)));
          break;
        }
      }
      between.push_back(cell);
    }
    std::vector<std::string>& measures = measuredCells.emplace_back();
    for (const auto& [lowText, highText] : ends) {
      const Decimal low = *ParseDecimal(lowText), high = *ParseDecimal(highText);
      RangeCurve curve;
      curve.lo = ToDouble(low);
      curve.hi = ToDouble(high);
      std::optional<std::size_t> below, above, highest;
      for (std::size_t line = 0; line < xs.size(); ++line) {
        if (!point(line)) continue;
        if (x(line) < low) {
          if (!below || !(x(line) < x(*below))) below = line, curve.below = point(line);
        } else if (high < x(line)) {
          if (!above || x(line) < x(*above)) above = line, curve.above = point(line);
        } else {
          curve.inside.push_back(*point(line));
          if (!highest || std::stod(ys[*highest]) < point(line)->y) highest = line;
        }
      }
      const std::optional<double> area = Area(curve, false);
      measures.push_back(area ? computed(*area) : "");
      measures.push_back(highest ? ys[*highest] : "");
      measures.push_back(highest ? xs[*highest] : "");
    }
    texts.push_back(text);
  }
  const DataFileList list = fs.PutNumberedSeries("data", texts);
  for (TableRequest* request : {&exact, &within, &nearest, &interpolated, &measured})
    request->series.list = list;
  ExpectCells(fs, exact, exactCells, ", exact");
  ExpectCells(fs, within, withinCells, ", within 0");
  ExpectCells(fs, nearest, nearestCells, ", nearest");
  ExpectCells(fs, interpolated, interpolatedCells, ", interpolated");
  ExpectCells(fs, measured, measuredCells, ", ranges");
}

/// How a random file of the oracle test is written: x at `decimals` places, or at its shortest
/// when negative, in steps of `step` hundredths from `start` hundredths (down when `descending`),
/// each x on `repeats` lines; cells of varying width when `varying`; `columns` fields a line.
struct FileShape {
  const char* name;
  int decimals;
  long long start;
  int step;
  const char* separator;
  const char* end;
  bool descending = false;
  bool varying = true;
  int repeats = 1;
  std::size_t columns = 2;
  std::size_t period = 0;  ///< x falls back to `start` every so many lines; 0 never
  bool zigzag = false;     ///< every other line's x mirrored below `start`, with a digit fewer
};

/// A number of hundredths as a decimal, at `decimals` places (from one, for a multiple of ten)
/// or at its shortest.
std::string Hundredths(long long value, int decimals) {
  std::string text = std::to_string(value / 100) + "." + std::to_string(100 + value % 100).substr(1);
  if (decimals == 1) text.pop_back();
  text.append(static_cast<std::size_t>(std::max(decimals - 2, 0)), '0');
  while (decimals < 0 && (text.back() == '0' || text.back() == '.')) {
    const bool point = text.back() == '.';
    text.pop_back();
    if (point) break;
  }
  return text;
}

/// Every table mode on random files of the shapes real exports write, the lines' cells sometimes
/// no number (and always so beside a few values and range ends), files longer than a search's wait
/// and than the reader's block among them: the searches that pass lines over must give the table
/// of reading every line in full.
TEST(TableRandomTest, SearchesGiveTheTableOfEveryLine) {
  const FileShape shapes[] = {
      {"alike", 3, 99990, 1, " ", "\r\n"},
      {"instrument", 2, 99950, 2, "\t", "\r\n"},
      {"shortest", -1, 40000, 2, ",", "\n"},
      {"descending", 3, 100400, 1, ";", "\r", true},
      {"cells alike", 3, 99990, 1, " ", "\n", false, false},
      {"equal x", 1, 99000, 10, " ", "\n", false, true, 3},
      {"four columns", 2, 99950, 1, "\t", "\n", false, true, 1, 4},
      {"sawtooth", 2, 99950, 3, "\t", "\n", false, true, 1, 2, 700},
      {"zigzag", 2, 100000, 1, " ", "\n", false, true, 1, 2, 0, true},
  };
  std::mt19937 random(30);
  for (const FileShape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    const auto x = [&](std::size_t line) {
      if (shape.period > 0) line %= shape.period;
      const long long step =
          static_cast<long long>(line / static_cast<std::size_t>(shape.repeats)) * shape.step;
      return Hundredths(
          shape.descending || (shape.zigzag && line % 2 == 1) ? shape.start - step : shape.start + step,
          shape.decimals);
    };
    // Values and range ends on lines, between them and beyond them, at `line` or some lines on;
    // the lines beside them are often no number.
    std::vector<std::size_t> beside;
    const auto itemX = [&](std::size_t line) {
      beside.insert(beside.end(), {line - 1, line, line + 1});
      return random() % 3 == 0 ? x(line) + "5" : random() % 2 ? x(line) + "0000" : x(line);
    };
    std::vector<std::string> values = {"5"}, ranges;
    for (int i = 0; i < 7; ++i) values.push_back(itemX(random() % 3000));
    const char* const kinds[] = {"area", "max", "min", "mean"};
    for (int i = 0; i < 8; ++i) {
      const std::size_t low = random() % 3000;
      ranges.push_back(std::string(kinds[i % 4]) + ":" + itemX(low) + ":" + itemX(low + random() % 60));
    }
    MemoryFileSystem fs;
    std::vector<std::string> texts;
    for (const std::size_t lines : {std::size_t{1000}, std::size_t{9000}, std::size_t{300}}) {
      std::string text = "x y\r\n";
      for (std::size_t line = 0; line < lines; ++line) {
        const bool near = std::find(beside.begin(), beside.end(), line) != beside.end();
        text += x(line);
        for (std::size_t field = 2; field <= shape.columns; ++field) {
          const auto value = shape.varying ? random() % 400000 : 56076;
          text += shape.separator;
          text += random() % (near ? 2 : 16) == 0
                      ? "n/a"
                      : std::to_string(value / 1000) + "." + std::to_string(1000 + value % 1000).substr(1);
        }
        text += shape.end;
      }
      texts.push_back(text);
    }
    const DataFileList list = fs.PutNumberedSeries("data", texts);
    std::vector<TableRequest> requests;
    for (const bool interpolate : {false, true}) {
      for (const bool nearest : {false, true}) {
        if (interpolate && nearest) continue;
        TableRequest& request =
            requests.emplace_back(TableRequest{{"data", list, 1}, Items(values), 2, nearest});
        request.interpolate = interpolate;
      }
    }
    requests.push_back(requests[1]);
    requests.back().within = ParseDistance("0.015", DecimalMark::kPoint);
    for (const bool baseline : {false, true}) {
      requests.push_back(TableRequest{{"data", list, 1}, Items(ranges)});
      requests.back().baseline = baseline;
    }
    PassThroughCodec codec;
    for (TableRequest& request : requests) {
      request.column = shape.columns == 4 ? 3 : 2;
      Table fast, everyLine;
      TableSummary summary;
      ASSERT_OK(MakeTable(fs, codec, request, &fast, &summary));
      request.readEveryLine = true;
      ASSERT_OK(MakeTable(fs, codec, request, &everyLine, &summary));
      EXPECT_EQ(TableCsv(fast), TableCsv(everyLine))
          << "nearest " << request.nearest << ", interpolate " << request.interpolate << ", baseline "
          << request.baseline;
    }
  }
}

}  // namespace
}  // namespace kesmaro
