#include "core/table/table_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/text/data_encoding.h"
#include "testing/memory_file_system.h"

namespace kesmaro {
namespace {

// What the command line says of a job is cli_test's; here what it reads and writes.
TEST(TableJobTest, ChecksTheNamesThenReadsThenWritesTheCsv) {
  struct Case {
    const char* output;
    bool plot;
    void (*arrange)(MemoryFileSystem&, TableJob&);
    std::optional<ErrorKind> fault;
    const char* csvPath = "";  ///< where the result says the outputs go, once the table is made
    const char* chartPath = "";
    FileForm form = FileForm::kAsIs;  ///< how the data files hold their text, and so the CSV
  };
  const auto nothing = [](MemoryFileSystem&, TableJob&) {};
  // clang-format off
  const Case cases[] = {
      {"sub/t", true, nothing, {}, "sub/t.csv", "sub/t.svg"},
      {"", true, nothing, {}, "", "table.svg"},  // standard output
      {"t", false, nothing, {}, "t.csv", "", FileForm::kUtf16Le},
      {"sub/a|b", true, nothing, ErrorKind::kBadOutputName},
      // the chart's name is checked before reading too; a listed file as a link to one is on disk
      {"data/t", true, [](MemoryFileSystem& fs, TableJob& job) {
         fs.Put("data/t.svg", "");
         job.request.series.list.FileNames.push_back("t.svg");
       }, ErrorKind::kOutputIsDataFile},
      {"t", true, [](MemoryFileSystem& fs, TableJob&) { fs.unreadable.insert("data/2.txt"); },
       ErrorKind::kOpenFailed},
      // the table stays with the caller when only writing it failed
      {"t", true, [](MemoryFileSystem& fs, TableJob&) { fs.failWrites = true; }, ErrorKind::kWriteFailed,
       "t.csv", "t.svg"},
  };
  // clang-format on
  const std::string csv = "file,1\r\n1,a\r\n2,b\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    MemoryFileSystem fs;
    const DataFileList list =
        fs.PutNumberedSeries("data", {EncodeOutput(c.form, "1 a\r\n"), EncodeOutput(c.form, "1 b\r\n")});
    TableJob job{{{"data", list, 0}, {*ParseTableItem("1", DecimalMark::kPoint)}}, c.output, c.plot};
    c.arrange(fs, job);
    std::map<std::filesystem::path, std::string> written = fs.files;
    TableJobResult result;
    const Status status =
        RunTableJob(fs, PassThroughCodec({"UTF-8", 65001, CharScheme::kUtf8, c.form}), job, &result);
    EXPECT_EQ(status ? std::optional(status->kind) : std::nullopt, c.fault);
    const bool refused = c.fault == ErrorKind::kBadOutputName || c.fault == ErrorKind::kOutputIsDataFile;
    EXPECT_EQ(fs.opened.empty(), refused) << "names are checked before anything is read";
    if (!status && *c.csvPath) written[c.csvPath] = EncodeOutput(c.form, csv);
    EXPECT_EQ(fs.files, written) << "the CSV is all that is written, and only on success";
    const bool made = !status || c.fault == ErrorKind::kWriteFailed;
    EXPECT_EQ(result.csv, made ? csv : "");
    EXPECT_EQ(result.csvPath, std::filesystem::path(made ? c.csvPath : ""));
    EXPECT_EQ(result.chartPath, std::filesystem::path(made ? c.chartPath : ""));
  }
}

}  // namespace
}  // namespace kesmaro
