#include "core/run/extraction_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/run/data_reader.h"
#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

class ExtractionRunTest : public ::testing::Test {
 protected:
  /// Runs with one header line and returns the output, checking that reading the files in tiny
  /// pieces, so that lines and line ends fall across blocks, gives the same bytes.
  std::string Run(const std::string& key, std::int64_t skip = 1) {
    RunSummary summary;
    EXPECT_OK(RunWith(key, skip, 4096, &summary));
    const std::string output = fs_.Content("out.txt");
    EXPECT_OK(RunWith(key, skip, 1, &summary));
    EXPECT_EQ(fs_.Content("out.txt"), output) << "differs when read a byte at a time";
    rows_ = summary.rowsWritten;
    return output;
  }

  Status RunWith(const std::string& key, std::int64_t skip, std::size_t readSize, RunSummary* summary,
                 const std::string& output = "out") {
    fs_.readSize = readSize;
    return RunExtraction(fs_, codec_, RunRequest{{key, {"data", list_, skip}}, output}, summary);
  }

  MemoryFileSystem fs_;
  PassThroughCodec codec_;
  DataFileList list_;
  std::size_t rows_ = 0;
};

/// A series, a key and a header-line count, and the output of the run.
struct RunCase {
  const char* name;
  std::vector<std::string> files;  ///< 1.txt, 2.txt, ... in list order, whole
  const char* key;
  std::int64_t skip;
  std::string rows;
};

// Lines longer than the reader's block: the header and the line passed over are never held, and
// the CR LF that ends the long header is one line end, so the next header line is no row.
const std::string kLongRest(300000, 'x');
const std::string kLongLines =
    "h" + kLongRest + "\r\n2 header\r\n1" + kLongRest + "\r\n2 " + kLongRest + "\r\n1 short\r\n";

/// Around the reader's block, some line's CR LF pair or double-byte separator falls on a block's
/// end; and the rows it makes, each cut at its first separator however far in.
std::pair<std::string, std::string> BlockEdges() {
  std::string file = "h\r\n", rows;
  for (std::size_t length = kDataBlockSize - 6; length < kDataBlockSize + 6; ++length) {
    file += std::string("9").append(length, 'x') + "\r\n1" + std::string(length, '5') + "\xD6\xD0" +
            std::to_string(length) + "\r\n";
    rows += "1 " + std::to_string(length) + "\r\n";
  }
  return {file, rows};
}

/// More files than threads that read them side by side, each with lines that begin with the key
/// around an exact line, the run's first exact line in the 30th: the rows come in list order, and
/// prefix rows only until that line.
std::pair<std::vector<std::string>, std::string> FilesReadAhead() {
  std::vector<std::string> files;
  std::string rows;
  for (int file = 1; file <= 60; ++file) {
    const std::string stem = std::to_string(file);
    const bool exact = file == 30 || file == 45;
    files.push_back("h\r\n10 a" + stem + "\r\n" + (exact ? "1 b" + stem + "\r\n" : "") + "12 c" + stem +
                    "\r\n");
    if (file < 30) rows += stem + " a" + stem + "\r\n" + stem + " c" + stem + "\r\n";
    if (file == 30) rows += "30 a30\r\n30 b30\r\n";
    if (file == 45) rows += "45 b45\r\n";
  }
  return {files, rows};
}

// clang-format off
const RunCase kRunCases[] = {
    // exact: one row per exact line of each file, in list order, the first separator dropped
    {"ExactLines",
     {"h\r\n0.5 11\r\n1.0 12\r\n1.0   3.4  \r\n", "h\r\n1.0\t-12\r\n", "h\r\n1.0 \r\n"}, "1.0", 1,
     "1 12\r\n1   3.4  \r\n2 -12\r\n3 \r\n"},
    // no exact line anywhere: every prefix line, cut at its first separator
    {"PrefixLines",
     {"h\r\n0.5 11\r\n1.0 12\r\n1.5 13 x\r\n10\r\n", "h\r\n1.5 14\r\n"}, "1", 1,
     "1 12\r\n1 13 x\r\n2 14\r\n"},
    // the first exact line ends the prefix rows for the rest of the run
    {"FirstExactLineEndsPrefixRows",
     {"h\r\n11 a\r\n10 b\r\n1 c\r\n12 d\r\n", "h\r\n11 e\r\n1 g\r\n", "h\r\n10 h\r\n"}, "1", 1,
     "1 a\r\n1 b\r\n1 c\r\n2 g\r\n"},
    {"FirstExactLineInALaterFile",
     {"h\r\n10 a\r\n", "h\r\n11 b\r\n1 c\r\n12 d\r\n1 e\r\n", "h\r\n13 f\r\n1 g\r\n"}, "1", 1,
     "1 a\r\n2 b\r\n2 c\r\n2 e\r\n3 g\r\n"},
    {"FilesReadAhead", FilesReadAhead().first, "1", 1, FilesReadAhead().second},
    // header lines are never matched; read a byte at a time, each CR LF is one end, not two lines
    {"HeaderNotMatched", {"h\r\n7 header\r\n7 data\r\n"}, "7", 2, "1 data\r\n"},
    {"HeaderWithoutLineEnd", {"h1\r\nh2", "h1\r\nh2\r\n5 x"}, "5", 2, "2 x\r\n"},
    // CR LF, LF, a lone CR, no end; a byte order mark only at the start of a file
    {"LineEndsAndByteOrderMarks",
     {"5 crlf\r\n5 lf\n5 cr\r5 last", "h\r5 a\r\r\n5 b\n\n5 c\r\n",
      "\xEF\xBB\xBF" "5 bom\r\n\xEF\xBB\xBF" "5 inner"}, "5", 0,
     "1 crlf\r\n1 lf\r\n1 cr\r\n1 last\r\n2 a\r\n2 b\r\n2 c\r\n3 bom\r\n"},
    // an empty series still replaces the output
    {"EmptySeries", {}, "1", 1, ""},
    // no limit on the length of a line or on the number of rows
    {"LinesLongerThanABlock", {kLongLines}, "2", 2, "1 " + kLongRest + "\r\n"},
    {"ManyRows", {"h\r\nh\r\n" + Repeated("3.5 y\r\n", 40000)}, "3", 2, Repeated("1 y\r\n", 40000)},
    {"BlockEdges", {BlockEdges().first}, "1", 1, BlockEdges().second},
};
// clang-format on

class RunTableTest : public ExtractionRunTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunTableTest, WritesTheRows) {
  fs_.Put("out.txt", "old rows");
  list_ = fs_.PutNumberedSeries("data", GetParam().files);
  EXPECT_EQ(Run(GetParam().key, GetParam().skip), GetParam().rows);
  EXPECT_EQ(rows_,
            static_cast<std::size_t>(std::count(GetParam().rows.begin(), GetParam().rows.end(), '\n')));
}

INSTANTIATE_TEST_SUITE_P(Table, RunTableTest, ::testing::ValuesIn(kRunCases), RowName());

/// Holds back the reading of the first file until the second was read to its end, as a thread
/// reading ahead may: the second file is then read before the run knows of the first's exact
/// line. With one thread only the hold times out, and the files are read in turn.
class SecondFileFirst : public FileSystem {
 public:
  explicit SecondFileFirst(MemoryFileSystem& fs) : fs_(fs) {}

  Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) override {
    std::unique_ptr<InputFile> inner;
    if (Status error = fs_.OpenForReading(path, &inner)) return error;
    *file = std::make_unique<HeldFile>(std::move(inner), *this, path.filename().string());
    return std::nullopt;
  }
  Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) override {
    return fs_.ListFolder(folder, entries);
  }
  Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) override {
    return fs_.WriteFileAtomically(path, bytes);
  }
  bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return fs_.IsSameFile(a, b);
  }

 private:
  class HeldFile : public InputFile {
   public:
    HeldFile(std::unique_ptr<InputFile> inner, SecondFileFirst& owner, std::string name)
        : inner_(std::move(inner)), owner_(owner), name_(std::move(name)) {}
    Status Read(char* buffer, std::size_t size, std::size_t* count) override {
      if (name_ == "1.txt") {
        std::unique_lock<std::mutex> lock(owner_.mutex_);
        owner_.secondRead_.wait_for(lock, std::chrono::seconds(10), [&] { return owner_.done_; });
      }
      Status error = inner_->Read(buffer, size, count);
      if (!error && *count == 0 && name_ == "2.txt") {
        const std::lock_guard<std::mutex> lock(owner_.mutex_);
        owner_.done_ = true;
        owner_.secondRead_.notify_all();
      }
      return error;
    }

   private:
    std::unique_ptr<InputFile> inner_;
    SecondFileFirst& owner_;
    std::string name_;
  };

  MemoryFileSystem& fs_;
  std::mutex mutex_;
  std::condition_variable secondRead_;
  bool done_ = false;
};

TEST_F(ExtractionRunTest, FileReadAheadKeepsNoPrefixRowsAfterTheFirstExactLine) {
  list_ = fs_.PutNumberedSeries("data", {"h\r\n1 a\r\n", "h\r\n10 b\r\n1 c\r\n"});
  SecondFileFirst held(fs_);
  RunSummary summary;
  ASSERT_OK(RunExtraction(held, codec_, RunRequest{{"1", {"data", list_, 1}}, "out"}, &summary));
  EXPECT_EQ(fs_.Content("out.txt"), "1 a\r\n2 c\r\n");
  EXPECT_EQ(summary.rowsWritten, 2u);
}

struct FailureCase {
  const char* name;
  void (*arrange)(MemoryFileSystem&);
  std::int64_t skip;
  ErrorKind kind;
  const char* file;
  const char* output = "out";
};

class ExtractionRunFailureTest : public ExtractionRunTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionRunFailureTest, NamesTheFileAndLeavesTheOutputAndTheDataAsTheyWere) {
  list_ = fs_.PutNumberedSeries("data", {"header\r\n1 a\r\n", "header\r\n1 b\r\n"});
  fs_.Put("out.txt", "previous output");
  GetParam().arrange(fs_);
  RunSummary summary;
  const Status error = RunWith("1", GetParam().skip, 4096, &summary, GetParam().output);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, GetParam().kind);
  EXPECT_EQ(error->file, std::filesystem::path(GetParam().file));
  EXPECT_EQ(fs_.Content("out.txt"), "previous output");
  EXPECT_EQ(fs_.Content("data/1.txt"), "header\r\n1 a\r\n");
  if (GetParam().kind == ErrorKind::kOutputIsDataFile) {
    EXPECT_TRUE(fs_.opened.empty()) << "refused before reading";
  }
}

// clang-format off
const FailureCase kFailures[] = {
    {"Unreadable",       [](MemoryFileSystem& fs) { fs.unreadable.insert("data/2.txt"); }, 1,
     ErrorKind::kOpenFailed,  "data/2.txt"},
    // of two that fail, the first in list order
    {"TwoUnreadable",    [](MemoryFileSystem& fs) { fs.unreadable.insert({"data/2.txt", "data/1.txt"}); }, 1,
     ErrorKind::kOpenFailed,  "data/1.txt"},
    {"BrokenMidway",     [](MemoryFileSystem& fs) { fs.failMidRead.insert("data/1.txt"); }, 1,
     ErrorKind::kReadFailed,  "data/1.txt"},
    {"TooFewLines",      [](MemoryFileSystem& fs) { fs.Put("data/2.txt", "h\r\n"); }, 2,
     ErrorKind::kTooFewLines, "data/2.txt"},
    {"UnwritableOutput", [](MemoryFileSystem& fs) { fs.failWrites = true; }, 1,
     ErrorKind::kWriteFailed, "out.txt"},
    {"OutputIsADataFile", [](MemoryFileSystem&) {}, 1, ErrorKind::kOutputIsDataFile, "data/1.txt",
     "data/1"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Failures, ExtractionRunFailureTest, ::testing::ValuesIn(kFailures), RowName());

}  // namespace
}  // namespace kesmaro
