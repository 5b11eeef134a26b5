// kesmaro-cli's command line: arguments, exit codes and messages over an in-memory folder, then
// the few things only the disk and the terminal show.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/text/data_encoding.h"
#include "platform/disk_file_system.h"
#include "platform/terminal.h"
#include "testing/memory_file_system.h"
#include "testing/scratch_folders.h"

namespace kesmaro::cli {
namespace {

namespace fs = std::filesystem;

/// Matches `text` exactly, or holds what follows a leading '*'.
bool Shows(const std::string& text, const std::string& expected) {
  return expected.starts_with('*') ? text.find(expected.substr(1)) != std::string::npos : text == expected;
}

std::string Usage(const std::string& problem) {
  return "kesmaro-cli: " + problem + "\nTry 'kesmaro-cli --help'.\n";
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_CTYPE, "C.UTF-8"); }  // terminal text is UTF-8 here

  int Cli(const std::vector<std::string>& args) {
    out_.clear();
    err_.clear();
    data_.clear();
    return RunCommandLine(args, host_, out_, err_, data_);
  }

  MemoryFileSystem files_;
  // CP1252 stands for a code page that holds ASCII only.
  Host host_{
      files_,
      {std::nullopt, CodePage{"GBK", 936, CharScheme::kGbk}, "zh_CN.GBK"},
      false,
      [](const CodePage& page) { return std::make_unique<PassThroughCodec>(page, page.name == "CP1252"); }};
  std::string out_, err_, data_;
};

TEST_F(CliTest, ArgumentsToExitCodeAndTexts) {
  const std::string rows = "1.0 5\r\n1.5 6\r\n2.0\r\n-5 n\r\n../up 1\r\n\xD6\xD0 GBK\r\n";
  for (const char* name : {"d/1.txt", "d/2.txt", "d/10.txt", "bad/1.txt", "bad/2.txt"})
    files_.Put(name, rows);
  files_.Put("d/3.asc", "");
  files_.Put("c/1.txt", "550,5;0,418\r\n");
  files_.Put("u/1.txt",
             "\xEF\xBB\xBF"
             "7 \xE4\xB8\xAD\r\n");
  files_.unreadable.insert("bad/2.txt");
  files_.Put("x/1.txt", "551.5\xFF 0.2\r\n");  // a name that is not text of the code page
  const auto utf16 = [](std::string_view text) { return EncodeOutput(FileForm::kUtf16Le, text); };
  files_.Put("w/1.txt", utf16("h\r\n550 x\r\n"));
  files_.folders.insert("e");
  struct Case {  // the exit code as a number: 0 done, 1 failed, 2 usage error, 3 refused
    std::vector<std::string> args;
    int code;
    std::string out, err, data = "";
    std::map<fs::path, std::string> written = {};
  };
  const Case cases[] = {
      // clang-format off
      {{}, 2, "", Usage("no command given")},
      {{"frobnicate", "d"}, 2, "", Usage("unknown command 'frobnicate'")},
      {{"run", "d"}, 2, "", Usage("run takes a FOLDER and a KEY")},
      {{"list", ""}, 2, "", Usage("FOLDER is empty; name the current folder as .")},
      {{"run", "--skip", "-1", "d", "1"}, 2, "", Usage("--skip takes a count in decimal digits, not '-1'")},
      {{"list", "--ext", ".csv", "d"}, 2, "", Usage("--ext must be .txt or .asc, not '.csv'")},
      {{"check", "--encoding", "klingon", "nowhere", "1"}, 2, "", Usage("unknown encoding 'klingon'")},
      {{"check", "d", "-x"}, 2, "", Usage("unknown option '-x'")},
      {{"check", "--nearest", "d", "1"}, 2, "", Usage("--nearest goes with table only")},
      {{"list", "--skip", "1", "d"}, 2, "", Usage("--skip goes with check, run and table only")},
      {{"check", "--output=x", "d", "1"}, 2, "", Usage("--output goes with run and table only")},
      {{"table", "d", "5.5e"}, 2, "",
       Usage("the value '5.5e' is not a decimal number (such as 550, -5.5 or 5.5e2)")},
      {{"table", "--column", "0", "d", "1"}, 2, "", Usage("--column takes a field number from 1, not '0'")},
      {{"table", "--within", "0,05", "d", "1"}, 2, "",  // a comma is a decimal mark with --decimal-comma only
       Usage("--within takes a decimal distance of 0 or more, not '0,05'")},
      {{"table", "--nearest=yes", "d", "1"}, 2, "", Usage("option '--nearest' takes no value")},
      {{"run", "--output", "", "d", "1.5"}, 2, "", Usage("--output takes a name, not an empty one")},
      {{"check", "--encoding", "cp1252", "x", "\xE4\xB8\xAD"}, 2, "",
       Usage("the key cannot be written in code page CP1252")},
      {{"table", "--interpolate", "--within", "1", "d", "1"}, 2, "",
       Usage("--interpolate goes with neither --nearest nor --within")},
      {{"table", "d", "area:5"}, 2, "",
       Usage("the item 'area:5' is not a measure over a range: area, max, min or mean, then :X1:X2 "
             "(such as max:540:560)")},
      {{"--help"}, 0, "*\nevery argument after -- is an operand.\n\nExit status: 0 done", ""},
      {{"list", "d"}, 0, "1.txt\n2.txt\n10.txt\n", ""},
      {{"list", "--ext", ".asc", "d"}, 0, "3.asc\n", ""},
      {{"check", "d", "1.5"}, 0, "exact\t1.5\n", ""},
      {{"check", "--encoding=gbk", "d", "-5"}, 0, "exact\t-5\n", ""},
      {{"check", "--", "d", "-x"}, 3, "missing\n", ""},
      {{"check", "d", "1"}, 3, "ambiguous\n", ""},
      {{"check", "d", "2"}, 0, "prefix\n", ""},
      {{"check", "nowhere", "1"}, 1, "", "*cannot list folder"},
      {{"check", "--skip", "9", "d", "1"}, 1, "", "*1.txt\n"},  // the first file is too short
      {{"check", "--encoding", "cp1252", "x", "551"}, 0, "prefix\n",
       "kesmaro-cli: the proposed name is not valid CP1252 text\n"},
      {{"run", "--encoding", "cp1252", "x", "551"}, 3, "",
       "kesmaro-cli: the proposed name is not valid CP1252 text; give one with --output\n"},
      {{"check", "--skip", "1", "w", "550"}, 0, "exact\t550\n",
       "kesmaro-cli: reading the data as UTF-16LE (1.txt starts with a UTF-16 byte order mark); --encoding "
       "names another\n"},
      {{"run", "--skip", "1", "w", "550"}, 0, "", "*wrote 1 rows to 550.txt\n", "",
       {{"550.txt", utf16("1 x\r\n")}}},
      {{"check", "e", "1"}, 3, "", "kesmaro-cli: no .txt data files in e\n"},
      {{"run", "d", "1"}, 3, "",
       "ambiguous\nkesmaro-cli: the key does not pick out one line of 1.txt; use --force to run all the "
       "same\n"},
      {{"run", "--force", "d", "1"}, 2, "",
       Usage("the key check proposes no output name; give one with --output")},
      {{"run", "--force", "--output", "o", "d", "1"}, 0, "", "read 3 files, wrote 6 rows to o.txt\n", "",
       {{"o.txt", "1 5\r\n1 6\r\n2 5\r\n2 6\r\n10 5\r\n10 6\r\n"}}},
      {{"run", "d", "."}, 3, "",
       "kesmaro-cli: the output name '../up' holds '/', which no file name may; give one with --output\n"},
      {{"table", "--output", "sub/nul.x", "d", "1"}, 3, "", "*'sub/nul.x' is the Windows device 'NUL'"},
      {{"run", "--output", "d/2", "d", "1.5"}, 3, "", "*output file is one of the data"},
      {{"run", "--output", "d/5", "d", "1.5"}, 0, "",
       "*.txt is in the data folder and will be listed as a data file of the series", "",
       {{"d/5.txt", "1 6\r\n2 6\r\n10 6\r\n"}}},
      {{"run", "--output", "o", "bad", "1.5"}, 1, "", "*2.txt"},
      {{"run", "--output", "o", "e", "1"}, 3, "", "kesmaro-cli: no .txt data files in e\n"},
      {{"run", "--output", "o", "--force", "e", "1"}, 0, "", "*wrote 0 rows", "", {{"o.txt", ""}}},
      {{"table", "--output", "-", "--interpolate", "d", "1.25", "max:2:1"}, 0, "",
       "read 3 files for 2 values, 0 of 6 cells empty\n",
       "file,1.25,max:2:1,max:2:1 x\r\n1,5.5,6,1.5\r\n2,5.5,6,1.5\r\n10,5.5,6,1.5\r\n"},
      {{"table", "--output", "-", "c", "550"}, 0, "",
       "*kesmaro-cli: note: line 1 of 1.txt (550,5;0,418) reads like numbers with decimal commas, which the "
       "table took for separators; --decimal-comma reads them as decimal marks\nread 1 files",
       "file,550\r\n1,5\r\n"},
      {{"table", "--output", "-", "--within", "0,5", "--decimal-comma", "c", "550"}, 0, "",
       "*read 1 files for 1 values, 0 of 1", "file,550,550 x\r\n1,\"0,418\",\"550,5\"\r\n"},
      {{"table", "--plot", "d", "1.50", "-5"}, 0, "",
       "*table.csv\nkesmaro-cli: note: the chart leaves out '-5': no cell holds a number\n"
       "drew 1 panels; wrote table.svg\n", "",
       {{"table.csv", "file,1.50,-5\r\n1,6,n\r\n2,6,n\r\n10,6,n\r\n"},
        {"table.svg", "*<text x=\"90\" y=\"55\" font-weight=\"bold\">1.50</text>"}}},
      {{"table", "--skip", "1", "--output", "-", "--plot", "w", "550"}, 0, "",  // a UTF-8 chart of UTF-16 data
       "*leaves out '550': no cell holds a number\ndrew 0 panels; wrote table.svg\n",
       utf16("file,550\r\n1,x\r\n"),
       {{"table.svg", "*<title>w</title>"}}},
      // clang-format on
  };
  const std::map<fs::path, std::string> before = files_.files;
  for (const Case& c : cases) {
    const std::string shown = ::testing::PrintToString(c.args);
    EXPECT_EQ(Cli(c.args), c.code) << shown << "\n" << err_;
    EXPECT_TRUE(Shows(out_, c.out)) << shown << "\n" << out_;
    EXPECT_TRUE(Shows(err_, c.err)) << shown << "\n" << err_;
    EXPECT_EQ(data_, c.data) << shown;
    std::map<fs::path, std::string> expected = before;
    for (const auto& [path, text] : c.written)  // a file given as "*..." holds that text
      expected[path] = Shows(files_.files[path], text) && text.starts_with('*') ? files_.files[path] : text;
    EXPECT_EQ(files_.files, expected) << shown << ": nothing else is written";
    files_.files = before;
  }
  // Where the data may choose its code page (POSIX), the choice is said.
  host_.dataMayChooseUtf8 = true;
  EXPECT_EQ(Cli({"check", "d", "1.5"}), 0);
  EXPECT_EQ(err_,
            "kesmaro-cli: reading the data as GBK (the Windows code page for zh_CN.GBK); --encoding names "
            "another\n");
  EXPECT_EQ(Cli({"check", "u", "7"}), 0);
  EXPECT_EQ(err_, "kesmaro-cli: reading the data as UTF-8 (1.txt is UTF-8 text); --encoding names another\n");
  host_.system.system.reset();
  EXPECT_EQ(Cli({"check", "d", "1.5"}), 2);
  EXPECT_EQ(err_, Usage("the system's code page (zh_CN.GBK) is not supported; name one with --encoding"));
}

TEST_F(CliTest, FailingToPrintIsAFailure) {
  files_.Put("d/1.txt", "5 a\r\n");
  ScratchFolders folders("kesmaro-cli", "data");
  const fs::path unwritable = folders.work / "unwritable", errors = folders.work / "errors";
  std::ofstream(unwritable, std::ios::binary) << "";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", "d"}, {"table", "--output", "-", "d", "5"}}) {
    std::FILE* out = std::fopen(unwritable.string().c_str(), "rb");  // every write to it fails
    std::FILE* err = std::fopen(errors.string().c_str(), "wb");
    ASSERT_TRUE(out && err);
    EXPECT_EQ(RunAndReport(args, host_, out, err), kFailure) << args[0];
    std::fclose(out);
    std::fclose(err);
    EXPECT_TRUE(Shows(ReadFile(errors), "*kesmaro-cli: cannot write to standard output")) << args[0];
  }
}

TEST(CliOnDisk, GbkNamesReachTheDiskAndTheTerminal) {
  std::setlocale(LC_CTYPE, "C.UTF-8");
  ScratchFolders folders("kesmaro-cli", "data");
  // In GBK, after three header lines: a unique-prefix line whose name ends in the separator 号.
  std::ofstream(folders.data / u8"1号.txt", std::ios::binary) << "h\r\nh\r\nh\r\n2.0\xBA\xC5 7\r\n3 8\r\n";
  DiskFileSystem disk;
  Host host{disk, CodePageChoice::System()};
  std::string out, err, data;
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.end(), {reinterpret_cast<const char*>(folders.data.u8string().c_str()), "2"});
    out.clear();
    err.clear();
    return RunCommandLine(args, host, out, err, data);
  };
  ASSERT_EQ(run({"check", "--skip", "3", "--encoding", "gbk"}), 0) << err;
  EXPECT_EQ(out, "prefix\t2.0\xE5\x8F\xB7\n") << "the name 2.0号 is shown as terminal text";
  ASSERT_EQ(run({"run", "--skip=3", "--encoding=gbk"}), 0) << err;
  EXPECT_EQ(ReadFile(folders.work / u8"2.0号.txt"), "1\xBA\xC5  7\r\n") << "stem 1号 in GBK";
  // Unless named, the data is in the system's code page (936 under the Windows tests).
  ASSERT_TRUE(host.system.system) << host.system.systemName;
  ASSERT_EQ(run({"check", "--skip", "3"}), 0) << err;
  EXPECT_EQ(out,
            "prefix\t" + NativeToTerminal(*MakeTextCodec(*host.system.system)->Decode("2.0\xBA\xC5")) + "\n");
}

}  // namespace
}  // namespace kesmaro::cli
