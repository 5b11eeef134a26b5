#include "core/run/key_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

class KeyCheckTest : public ::testing::Test {
 protected:
  static SeriesRequest Request(const std::string& key, std::int64_t skip) {
    return SeriesRequest{key, {"data", DataFileList{{"1.txt"}}, skip}};
  }

  MemoryFileSystem fs_;
  PassThroughCodec codec_;
};

/// The first file's lines after its one header line, a key and a header-line count, and the
/// verdict with the name it proposes.
struct VerdictCase {
  const char* name;
  std::string rows;
  const char* key;
  std::int64_t skip;
  VerdictKind kind;
  std::optional<std::string> proposed;
};

// 251 bytes and ".txt" make the longest file name there is.
const std::string kLongest = "2." + std::string(249, '5');

// clang-format off
const VerdictCase kVerdictCases[] = {
    {"Exact",                 "1.0 5\r\n1.5 6\r\n2.0 7\r\n", "1.5", 1,   VerdictKind::kExact,        "1.5"},
    {"UniquePrefix",          "1.0 5\r\n1.5 6\r\n2.0 7\r\n", "2",   1,   VerdictKind::kUniquePrefix, "2.0"},
    {"Ambiguous",             "1.0 5\r\n1.5 6\r\n2.0 7\r\n", "1",   1,   VerdictKind::kAmbiguous,    std::nullopt},
    {"Missing",               "1.0 5\r\n1.5 6\r\n2.0 7\r\n", "3",   1,   VerdictKind::kMissing,      std::nullopt},
    {"EmptyKey",              "1.0 5\r\n1.5 6\r\n2.0 7\r\n", "",    1,   VerdictKind::kAmbiguous,    std::nullopt},
    // an exact line outweighs the prefix lines before it, however many
    {"ExactAfterManyPrefixLines", Repeated("7.5 x\r\n", 40000) + "7 y\r\n",
                                                               "7",   1,   VerdictKind::kExact,        "7"},
    // a unique prefix proposes the text before the line's last separator, a double-byte one too
    {"NameToTheLastSeparator", "2.0\t-7\r\n3 x\r\n",          "2",   1,   VerdictKind::kUniquePrefix, "2.0\t"},
    {"NameToADoubleByteOne",  "2.0\xD6\xD0\x35 6\r\n",          "2",   1,   VerdictKind::kUniquePrefix, "2.0\xD6\xD0\x35"},
    // ... and nothing when the line has no separator or the name would be too long
    {"NoSeparatorNoName",     "2.0\r\n3 x\r\n",                "2",   1,   VerdictKind::kUniquePrefix, std::nullopt},
    {"LongestName",           kLongest + " 7\r\n",              "2",   1,   VerdictKind::kUniquePrefix, kLongest},
    {"NameTooLong",           kLongest + "5 7\r\n",             "2",   1,   VerdictKind::kUniquePrefix, std::nullopt},
    {"LineLongerThanABlock",  "2." + std::string(300000, '5') + " 7 " + std::string(300000, 'x') + "\r\n",
                                                               "2",   1,   VerdictKind::kUniquePrefix, std::nullopt},
    // header lines are never tested, however long; a count of 0 or less is none
    {"HeaderNotTested",       "6 a\r\n",                         "5",   1,   VerdictKind::kMissing,      std::nullopt},
    {"NoHeader",              "6 a\r\n",                         "5",   0,   VerdictKind::kExact,        "5"},
    {"NegativeIsNoHeader",    "6 a\r\n",                         "5",   -4,  VerdictKind::kExact,        "5"},
};
// clang-format on

class VerdictTableTest : public KeyCheckTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(VerdictTableTest, JudgesTheFirstFile) {
  fs_.Put("data/1.txt", "5 header" + std::string(300000, 'x') + "\r\n" + GetParam().rows);
  for (const std::size_t readSize : {std::size_t{4096}, std::size_t{1}}) {
    fs_.readSize = readSize;
    KeyVerdict verdict;
    ASSERT_OK(CheckKey(fs_, codec_, Request(GetParam().key, GetParam().skip), &verdict));
    EXPECT_EQ(verdict.kind, GetParam().kind) << "read size " << readSize;
    EXPECT_EQ(verdict.proposedName, GetParam().proposed) << "read size " << readSize;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, VerdictTableTest, ::testing::ValuesIn(kVerdictCases), RowName());

}  // namespace
}  // namespace kesmaro
