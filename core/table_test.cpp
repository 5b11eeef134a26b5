#include "core/table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

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
  std::optional<double> within = {};
  const char* skip = "0";
};

/// Lines "0 v0" to "N-1 vN-1", LF ended.
std::string Ascending(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(i) + " v" + std::to_string(i) + "\n";
  return text;
}

class TableTest : public ::testing::TestWithParam<TableCase> {
 protected:
  /// Builds the table, and checks that reading the files a byte at a time gives the same bytes.
  std::string Make(const TableCase& c, TableSummary* summary) {
    TableRequest request{"data", {}, c.skip, c.values, c.column, c.nearest, c.within};
    for (const auto& [name, bytes] : c.files) {
      fs_.Put("data/" + name, bytes);
      request.list.FileNames.emplace_back(name);
    }
    std::string csv;
    EXPECT_OK(MakeTable(fs_, codec_, request, &csv, summary));
    fs_.readSize = 1;
    std::string again;
    EXPECT_OK(MakeTable(fs_, codec_, request, &again, summary));
    EXPECT_EQ(again, csv) << "differs when read a byte at a time";
    return csv;
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
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableTest,
    ::testing::Values(
        TableCase{.name = "NumberSpellings",
                  .files = {{"1.txt",
                             "550nm no\r\n5.5e2.0 no\r\n5.5e no\r\ne5 no\r\n. no\r\n-.e1 no\r\n+-1 no\r\n"
                             "0x10 no\r\ninf no\r\n1e999 no\r\n"
                             "5.5E+2 a\r\n550.0 second\r\n-0.50 b\r\n.25 c\r\n1e3 d\r\n+7 e\r\n"
                             "15.99999999999999999999 f\r\n16 second\r\n"}},
                  .values = {"550", "-.5", "0.250", "1000", "7.00", "16", "0", "+1E1"},
                  .expected = "file,550,-.5,0.250,1000,7.00,16,0,+1E1\r\n1,a,b,c,d,e,f,,\r\n",
                  .emptyCells = 2},
        TableCase{.name = "HeadersFootersAndEndLinesArePassedOver",
                  .files = {{"1.txt",
                             "550 header line\r\nwavelength intensity\r\n\r\n# 550 nm\r\n549 1\r\n550 2\r\n"
                             "550 3\r\nEND\r\nTotal: 2 lines\r\n"},
                            {"2.txt", "550 header line\r\nsample 550\r\n550 4\r\nEND 550\r\n"}},
                  .values = {"550"},
                  .expected = "file,550\r\n1,2\r\n2,4\r\n",
                  .skip = "1"},
        TableCase{.name = "NearestTakesTheFirstOfEquallyNearLines",
                  .files = {{"1.txt", "549.9 a\n550.1 b\n-5.2 c\n-4.8 d\n0.1 e\n0.3 f\n"},
                            {"2.txt", "550.1 b\n549.9 a\n-4.8 d\n-5.2 c\n0.3 f\n0.1 e\n550 exact\n"}},
                  .values = {"550", "-5", "0.2", "1e6"},
                  .expected = "file,550,550 x,-5,-5 x,0.2,0.2 x,1e6,1e6 x\r\n"
                              "1,a,549.9,c,-5.2,e,0.1,b,550.1\r\n"
                              "2,exact,550,d,-4.8,f,0.3,b,550.1\r\n",
                  .nearest = true},
        TableCase{.name = "NearestKeepsItsChoicesThroughALongFile",
                  .files = {{"1.txt", Ascending(20000)}},
                  .values = {"19999.4", "5000", "-3"},
                  .expected = "file,19999.4,19999.4 x,5000,5000 x,-3,-3 x\r\n1,v19999,19999,v5000,5000,v0,0\r\n",
                  .nearest = true},
        TableCase{.name = "WithinBoundsAreInclusive",
                  .files = {{"1.txt", "549.7 a\n550.21 b\n600.5 c\n"}, {"2.txt", "549.79 d\n550.22 e\n"}},
                  .values = {"550", "600", "700"},
                  .expected = "file,550,550 x,600,600 x,700,700 x\r\n1,b,550.21,,,,\r\n2,d,549.79,,,,\r\n",
                  .emptyCells = 4,
                  .within = 0.21},
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
        TableCase{.name = "FieldsAreSeparatedByRunsOfBlanksCommasAndSemicolons",
                  .files = {{"1.txt", " \t1,;\t a;b\n2;;\"q\"\tx\n3 say\"hi\"\n"}},
                  .values = {"1", "2", "3"},
                  .expected = "file,1,2,3\r\n1,a,\"\"\"q\"\"\",\"say\"\"hi\"\"\"\r\n"},
        TableCase{.name = "StemsWithCommasAreQuoted",
                  .files = {{"2,5.txt", "1 a\n"}, {"3\"x.txt", "1 b\n"}},
                  .values = {"1"},
                  .expected = "file,1\r\n\"2,5\",a\r\n\"3\"\"x\",b\r\n"},
        TableCase{.name = "GbkBytesInCellsStayAsTheyAre",
                  .files = {{"1.txt",
                             "\xB2\xA8\xB3\xA4 \xC7\xBF\xB6\xC8\r\n1 \xD6\xD0\xCE\xC4\r\n"
                             "2\t\xB2\x5C\xB1\x7E;\x81\x40\r\n3 \xD6\xD0\"\r\n"}},
                  .values = {"1", "2", "3"},
                  .expected = "file,1,2,3\r\n1,\xD6\xD0\xCE\xC4,\xB2\x5C\xB1\x7E,\"\xD6\xD0\"\"\"\r\n"},
        TableCase{.name = "EveryKindOfLineEnd",
                  .files = {{"1.txt", "1 lf\n2 cr\r3 crlf\r\n\r\n\n4 last"}, {"2.txt", "4 x\r\r\n1 y\n"}},
                  .values = {"1", "2", "3", "4"},
                  .expected = "file,1,2,3,4\r\n1,lf,cr,crlf,last\r\n2,y,,,x\r\n",
                  .emptyCells = 2},
        TableCase{.name = "LinesLongerThanABlockKeepOnlyTheirCells",
                  // Around the reader's 128 KiB block: a cell after it, a cell longer than it, a first
                  // field that does not end within a block's worth of the line (taken for no number).
                  .files = {{"1.txt", "1 " + std::string(200000, 'a') + " c\n2 b " + std::string(300000, 'z') +
                                          "\n3" + std::string(200000, ' ') + "x y\n" + std::string(200000, ' ') +
                                          "4 a b\n5 a b\n"}},
                  .values = {"1", "2", "3", "4", "5"},
                  .expected = "file,1,2,3,4,5\r\n1,c," + std::string(300000, 'z') + ",y,,b\r\n",
                  .emptyCells = 1,
                  .column = 3},
        TableCase{.name = "NoFilesGiveTheHeaderRowAlone", .values = {"1", "2"}, .expected = "file,1,2\r\n"}),
    [](const ::testing::TestParamInfo<TableCase>& param) { return std::string(param.param.name); });

TEST(TableFailureTest, NamesTheFileThatCouldNotBeRead) {
  MemoryFileSystem fs;
  PassThroughCodec codec;
  fs.Put("data/1.txt", "h\r\n1 a\r\n");
  fs.Put("data/2.txt", "h\r\n");
  std::string csv = "untouched";
  TableSummary summary;
  const Status error = MakeTable(fs, codec, TableRequest{"data", {{"1.txt", "2.txt"}}, "2", {"1"}}, &csv, &summary);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, ErrorKind::kTooFewLines);
  EXPECT_EQ(error->file, std::filesystem::path("data/2.txt"));
  EXPECT_EQ(csv, "untouched");
}

}  // namespace
}  // namespace kesmaro
