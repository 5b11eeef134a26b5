// kesmaro-cli from its command line to the bytes on disk, in temporary folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "platform/disk_file_system.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"
#include "tests/scratch_folders.h"

namespace kesmaro::cli {
namespace {

namespace fs = std::filesystem;

/// Every file below a folder with its bytes, to show that nothing else changed.
using Snapshot = std::map<std::string, std::string>;

/// A file name from UTF-8 text, on every system.
fs::path Utf8Name(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_CTYPE, "C.UTF-8");  // terminal text is UTF-8 on every system in these tests
  }

  void Put(const fs::path& name, const std::string& bytes) {
    std::ofstream(folders_.data / name, std::ios::binary) << bytes;
  }

  /// The arguments with the data folder where "DATA" stands.
  std::vector<std::string> WithData(std::vector<std::string> args) {
    for (std::string& arg : args) {
      if (arg == "DATA") arg = reinterpret_cast<const char*>(folders_.data.u8string().c_str());
    }
    return args;
  }

  /// Runs kesmaro-cli with the data folder where "DATA" stands.
  int Cli(const std::vector<std::string>& args) {
    out_.clear();
    err_.clear();
    data_.clear();
    return RunCommandLine(WithData(args), host_, out_, err_, data_);
  }

  Snapshot Snap() const {
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(folders_.root)) {
      if (entry.is_regular_file())
        files[entry.path().lexically_relative(folders_.root).generic_string()] = ReadFile(entry);
    }
    return files;
  }

  /// A GBK series: three Chinese header lines ("样品", "日期", "波长 强度") and CR LF rows.
  void PutGbkSeries(const std::vector<fs::path>& names, const std::vector<std::string>& rows) {
    std::string text = "\xD1\xF9\xC6\xB7 A\r\n\xC8\xD5\xC6\xDA 2026\r\n\xB2\xA8\xB3\xA4 \xC7\xBF\xB6\xC8\r\n";
    for (const std::string& row : rows) text += row + "\r\n";
    for (const fs::path& name : names) Put(name, text);
  }

  ScratchFolders folders_{"kesmaro-cli", "data"};
  std::string out_, err_, data_;
  DiskFileSystem disk_;
  Host host_{disk_, CodePageChoice::System()};
};

TEST_F(CliTest, RunConsolidatesAGbkSeriesInNumericOrder) {
  PutGbkSeries({"1.txt", "2.txt", "10.txt"}, {"0.5 11.2", "1.0 12.5\t\xD6\xD0", "1.5 13"});
  const Snapshot before = Snap();
  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "DATA", "1.0"}), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / "1.0.txt"),
            "1 12.5\t\xD6\xD0\r\n2 12.5\t\xD6\xD0\r\n10 12.5\t\xD6\xD0\r\n");
  Snapshot after = Snap();
  after.erase("work/1.0.txt");
  EXPECT_EQ(after, before) << "the data files stay as they were and nothing else is left";
  EXPECT_NE(err_.find("read 3 files, wrote 3 rows to 1.0.txt"), std::string::npos) << err_;
  EXPECT_EQ(err_.find("note:"), std::string::npos) << err_;
}

TEST_F(CliTest, LineEndsOfEveryKindAndUtf8Data) {
  Put("1.txt", "h\n2 \xE4\xB8\xAD lf\n3 x\n");
  Put("2.txt", "h\r2 cr\r");
  Put("3.txt",
      "h\r\n2\xE4\xB8\xAD"
      "crlf\r\n2 last");
  ASSERT_EQ(Cli({"run", "--skip=1", "--encoding=utf-8", "--output", "o", "DATA", "2"}), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / "o.txt"), "1 \xE4\xB8\xAD lf\r\n2 cr\r\n3 crlf\r\n3 last\r\n");
}

TEST_F(CliTest, StemsAndProposedNamesCrossIntoTheDataCodePage) {
  // A GBK series whose file names and unique-prefix line hold Chinese characters.
  PutGbkSeries({Utf8Name("1号.txt")}, {"2.0\xBA\xC5 7", "3 8"});
  const fs::path file = folders_.data / Utf8Name("1号.txt");
  ASSERT_TRUE(fs::exists(file));
  ASSERT_EQ(Cli({"check", "--skip", "3", "--encoding", "gbk", "DATA", "2"}), kSuccess) << err_;
  EXPECT_EQ(out_, "prefix\t2.0\xE5\x8F\xB7\n") << "the name 2.0号 is shown as terminal text";

  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "DATA", "2"}), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / Utf8Name("2.0号.txt")), "1\xBA\xC5  7\r\n")
      << "stem 1号 in GBK; the 号 after 2.0 is the dropped separator";
}

TEST_F(CliTest, UnlessNamedTheDataIsInTheSystemCodePageOrUtf8WhenItsTextIsUtf8) {
  // GBK text (2.0号) is no UTF-8: read in the system's code page, 936 under the Windows tests.
  std::string systemName;
  const std::optional<CodePage> system = SystemCodePage(&systemName);
  ASSERT_TRUE(system) << systemName;
  Put("1.txt", "h\r\n2.0\xBA\xC5 7\r\n");
  ASSERT_EQ(Cli({"check", "--skip", "1", "DATA", "2"}), kSuccess) << err_;
  EXPECT_EQ(out_, "prefix\t" + ToTerminal(*MakeTextCodec(*system)->Decode("2.0\xBA\xC5")) + "\n");

  if (!DataMayChooseUtf8()) GTEST_SKIP() << "Windows reads its ANSI code page whatever the data";
  EXPECT_EQ(err_, "kesmaro-cli: reading the data as " + system->name + " (the Windows code page for " +
                      systemName + "); --encoding names another\n");
  Put("1.txt",
      "\xEF\xBB\xBF"
      "2.0\xE5\x8F\xB7 7\r\n");  // UTF-8, with a byte order mark before a first line that counts
  ASSERT_EQ(Cli({"check", "DATA", "2"}), kSuccess) << err_;
  EXPECT_EQ(out_, "prefix\t2.0\xE5\x8F\xB7\n");
  EXPECT_EQ(err_, "kesmaro-cli: reading the data as UTF-8 (1.txt is UTF-8 text); --encoding names another\n");
}

TEST_F(CliTest, CheckPrintsOneVerdictLine) {
  PutGbkSeries({"1.txt", "2.txt"}, {"1.0 5", "1.5 6", "2.0", "3.25\t-7"});
  auto check = [&](const std::string& key) {
    const int code = Cli({"check", "--skip", "3", "--encoding", "gbk", "DATA", key});
    return std::to_string(code) + " " + out_;
  };
  EXPECT_EQ(check("1.5"), "0 exact\t1.5\n");
  EXPECT_EQ(check("3"), "0 prefix\t3.25\t\n");
  EXPECT_EQ(check("2"), "0 prefix\n");
  EXPECT_EQ(check("4"), "3 missing\n");
}

TEST_F(CliTest, ListPrintsTheSeriesOrder) {
  for (const char* name : {"10.txt", "9.txt", "1.txt", "2.5.txt", "b.txt", "a.txt", "3.asc", "4.TXT"})
    Put(name, "");
  ASSERT_EQ(Cli({"list", "DATA"}), kSuccess) << err_;
  EXPECT_EQ(out_, "a.txt\nb.txt\n1.txt\n2.5.txt\n4.TXT\n9.txt\n10.txt\n");
  ASSERT_EQ(Cli({"list", "--ext", ".asc", "DATA"}), kSuccess);
  EXPECT_EQ(out_, "3.asc\n");
}

TEST_F(CliTest, RefusesWhatTheWindowWouldNotRun) {
  PutGbkSeries({"1.txt", "2.txt"}, {"1.0 5", "1.5 6"});
  const Snapshot before = Snap();
  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "o", "DATA", "1"}), kRefused);
  EXPECT_NE(err_.find("ambiguous"), std::string::npos);
  EXPECT_EQ(Snap(), before);

  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "o", "--force", "DATA", "1"}),
            kSuccess);
  EXPECT_EQ(ReadFile(folders_.work / "o.txt"), "1 5\r\n1 6\r\n2 5\r\n2 6\r\n");

  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--force", "DATA", "1"}), kUsage)
      << "no name to use";

  fs::create_directory(folders_.root / "empty");
  EXPECT_EQ(Cli({"run", "--output", "e", (folders_.root / "empty").string(), "1"}), kRefused);
  EXPECT_FALSE(fs::exists(folders_.work / "e.txt"));
  ASSERT_EQ(Cli({"run", "--output", "e", "--force", (folders_.root / "empty").string(), "1"}), kSuccess)
      << err_;
  EXPECT_EQ(ReadFile(folders_.work / "e.txt"), "");
}

TEST_F(CliTest, OutputNameIsOnePlainFileName) {
  PutGbkSeries({"1.txt"}, {"../precious 5", "10/20/2023 5", "12:30 5", "7 a"});
  std::ofstream(folders_.root / "precious.txt", std::ios::binary) << "precious";
  const Snapshot before = Snap();
  // arguments after "run --skip 3 --encoding gbk" -> what the one line shows
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"DATA", "."}, "'../precious' holds '/'"},
      {{"DATA", "10/2"}, "'10/20/2023' holds '/'"},
      {{"DATA", "12:"}, "'12:30' holds ':'"},
      {{"DATA", ".."}, "'..' is '..'"},
      {{"--output", "a*b", "DATA", "7"}, "'a*b' holds '*'"},
      {{"--output", "sub/.", "DATA", "7"}, "is '.'"},
  };
  for (const auto& [args, shown] : refused) {
    std::vector<std::string> command = {"run", "--skip", "3", "--encoding", "gbk"};
    command.insert(command.end(), args.begin(), args.end());
    EXPECT_EQ(Cli(command), kRefused) << shown;
    EXPECT_NE(err_.find(shown), std::string::npos) << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    EXPECT_EQ(Snap(), before) << shown;
  }
  // A path given with --output is the user's choice.
  fs::create_directory(folders_.work / "sub");
  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "sub/o", "DATA", "7"}), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / "sub" / "o.txt"), "1 a\r\n");
}

TEST_F(CliTest, FailingToPrintIsAFailure) {
  Put("1.txt", "5 a\r\n");
  const fs::path unwritable = folders_.work / "unwritable", errors = folders_.work / "errors";
  std::ofstream(unwritable, std::ios::binary) << "";
  for (const std::vector<std::string>& args : {std::vector<std::string>{"list", "DATA"},
                                                {"check", "--encoding", "gbk", "DATA", "5"},
                                                {"table", "--encoding", "gbk", "--output", "-", "DATA", "5"}}) {
    std::FILE* out = std::fopen(unwritable.string().c_str(), "rb");  // every write to it fails
    std::FILE* err = std::fopen(errors.string().c_str(), "wb");
    ASSERT_TRUE(out && err);
    EXPECT_EQ(RunAndReport(WithData(args), host_, out, err), kFailure) << args[0];
    std::fclose(out);
    std::fclose(err);
    // The table's summary comes first; the failure is the last line.
    const std::string said = ReadFile(errors);
    EXPECT_EQ(said.substr(args[0] == "table" ? said.find('\n') + 1 : 0, 44),
              "kesmaro-cli: cannot write to standard output")
        << said;
  }
}

TEST_F(CliTest, FailuresNameTheFileAndWriteNothing) {
  PutGbkSeries({"1.txt", "2.txt"}, {"5 a"});
  Put("3.txt", "only one line\r\n");
  std::ofstream(folders_.work / "5.txt", std::ios::binary) << "earlier output";
  const Snapshot before = Snap();
  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "DATA", "5"}), kFailure);
  EXPECT_NE(err_.find("fewer lines than the header-line count"), std::string::npos) << err_;
  EXPECT_NE(err_.find("3.txt"), std::string::npos) << err_;
  EXPECT_EQ(Snap(), before);

  fs::remove(folders_.data / "3.txt");
  fs::create_directory(folders_.work / "dir.txt");
  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "dir", "DATA", "5"}), kFailure);
  EXPECT_NE(err_.find("cannot write output file"), std::string::npos) << err_;
  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "missing/o", "DATA", "5"}), kFailure);
  EXPECT_EQ(Cli({"check", "--encoding", "gbk", (folders_.root / "nowhere").string(), "5"}), kFailure);
  EXPECT_NE(err_.find("cannot list folder"), std::string::npos) << err_;
}

TEST_F(CliTest, RefusesToWriteOverItsOwnDataFile) {
  PutGbkSeries({"1.txt", "2.txt"}, {"1 a", "2 b"});
  const Snapshot before = Snap();
  fs::current_path(folders_.data);  // the program runs in its data folder: key 1 proposes the name 1
  EXPECT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "DATA", "1"}), kRefused);
  EXPECT_NE(err_.find("output file is one of the data files"), std::string::npos) << err_;
  EXPECT_EQ(Snap(), before);

  // An output that joins the series is written, and the user is told.
  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "--output", "5", "DATA", "1"}), kSuccess) << err_;
  EXPECT_NE(err_.find("note: 5.txt is in the data folder"), std::string::npos) << err_;
}

TEST_F(CliTest, LargeLinesAndLargeSeries) {
  const std::string longRest(1 << 20, '9');
  Put("1.txt", "7.5 " + longRest + "\r\n");
  for (int i = 2; i <= 500; ++i) Put(std::to_string(i) + ".txt", "7.5 " + std::to_string(i) + "\r\n");
  ASSERT_EQ(Cli({"run", "--encoding", "gbk", "DATA", "7.5"}), kSuccess) << err_;
  std::string expected = "1 " + longRest + "\r\n";
  for (int i = 2; i <= 500; ++i) expected += std::to_string(i) + " " + std::to_string(i) + "\r\n";
  EXPECT_EQ(ReadFile(folders_.work / "7.5.txt"), expected);
}

TEST_F(CliTest, UsageErrorsNameTheProblemInOneLine) {
  struct Case {
    std::vector<std::string> args;
    std::string problem;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"frobnicate", "DATA"}, "unknown command 'frobnicate'"},
      {{"run", "DATA"}, "run takes a FOLDER and a KEY"},
      {{"list", ""}, "FOLDER is empty; name the current folder as ."},
      {{"run", "--skip", "-1", "DATA", "1"}, "--skip takes a count in decimal digits, not '-1'"},
      {{"list", "--ext", ".csv", "DATA"}, "--ext must be .txt or .asc, not '.csv'"},
      {{"check", "--encoding", "klingon", "DATA", "1"}, "unknown encoding 'klingon'"},
      {{"run", "--bogus", "DATA", "1"}, "unknown option '--bogus'"},
      {{"check", "DATA", "-x"}, "unknown option '-x'"},
      {{"check", "--nearest", "DATA", "1"}, "--nearest goes with table only"},
      {{"table", "--force", "DATA", "1"}, "--force goes with run only"},
      {{"table", "DATA"}, "table takes a FOLDER and one or more values X"},
      {{"table", "DATA", "550", "5.5e", "1"}, "the value '5.5e' is not a decimal number (such as 550, -5.5 or 5.5e2)"},
      {{"table", "--column", "0", "DATA", "1"}, "--column takes a field number from 1, not '0'"},
      {{"table", "--within=-1", "DATA", "1"}, "--within takes a decimal distance of 0 or more, not '-1'"},
      {{"table", "--nearest=yes", "DATA", "1"}, "option '--nearest' takes no value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cli(c.args), kUsage) << c.problem;
    EXPECT_EQ(err_, "kesmaro-cli: " + c.problem + "\nTry 'kesmaro-cli --help'.\n");
    EXPECT_EQ(out_, "");
  }
  EXPECT_EQ(Cli({"--help"}), kSuccess);
  EXPECT_NE(out_.find("kesmaro-cli table"), std::string::npos);
  EXPECT_NE(out_.find("every argument after -- is an operand"), std::string::npos);
}

TEST_F(CliTest, NegativeNumbersAreOperandsAndDoubleDashEndsTheOptions) {
  PutGbkSeries({"1.txt", "2.txt"}, {"-5.000000 a", "-4.5 b", "5 c"});
  ASSERT_EQ(Cli({"check", "--skip", "3", "--encoding", "gbk", "DATA", "-5.000000"}), kSuccess) << err_;
  EXPECT_EQ(out_, "exact\t-5.000000\n");
  ASSERT_EQ(Cli({"run", "--skip", "3", "--encoding", "gbk", "DATA", "-5.000000"}), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / "-5.000000.txt"), "1 a\r\n2 a\r\n");
  EXPECT_EQ(Cli({"check", "--skip", "3", "--encoding", "gbk", "--", "DATA", "-x"}), kRefused);
  EXPECT_EQ(out_, "missing\n");
  ASSERT_EQ(Cli({"table", "--skip", "3", "--encoding", "gbk", "--output", "-", "DATA", "-5", "-4.50", "5"}), kSuccess)
      << err_;
  EXPECT_EQ(data_, "file,-5,-4.50,5\r\n1,a,b,c\r\n2,a,b,c\r\n");
}

TEST_F(CliTest, TableWritesItsCsvAtomicallyOrToStandardOutput) {
  PutGbkSeries({"1.txt", "2.txt", "10.txt"}, {"0.5 11", "1.0 12\t\xD6\xD0", "1.5 13"});
  Put("3.txt", "too short\r\n");
  std::ofstream(folders_.work / "table.csv", std::ios::binary) << "earlier table";
  const Snapshot before = Snap();
  const std::vector<std::string> table = {"table", "--skip", "3", "--encoding", "gbk", "DATA", "1", "1.50", "2"};
  EXPECT_EQ(Cli(table), kFailure);
  EXPECT_NE(err_.find("3.txt"), std::string::npos) << err_;
  EXPECT_EQ(Snap(), before) << "a failed table leaves the earlier one as it was";

  fs::remove(folders_.data / "3.txt");
  ASSERT_EQ(Cli(table), kSuccess) << err_;
  EXPECT_EQ(ReadFile(folders_.work / "table.csv"), "file,1,1.50,2\r\n1,12,13,\r\n2,12,13,\r\n10,12,13,\r\n");
  EXPECT_EQ(err_, "read 3 files for 3 values, 3 of 9 cells empty; wrote table.csv\n");

  ASSERT_EQ(Cli({"table", "--skip=3", "--encoding=gbk", "--nearest", "--column", "3", "--output", "-", "DATA", "2"}),
            kSuccess)
      << err_;
  EXPECT_EQ(data_, "file,2,2 x\r\n1,,1.5\r\n2,,1.5\r\n10,,1.5\r\n");
  EXPECT_EQ(out_, "");
  EXPECT_EQ(err_, "read 3 files for 1 values, 3 of 3 cells empty; wrote standard output\n");

  fs::create_directory(folders_.root / "empty");
  EXPECT_EQ(Cli({"table", (folders_.root / "empty").string(), "1"}), kRefused);
}

}  // namespace
}  // namespace kesmaro::cli
