#include "core/key_check.h"

#include <gtest/gtest.h>

#include <string>

#include "core/memory_file_system.h"
#include "core/status_testing.h"

namespace kesmaro {
namespace {

class KeyCheckTest : public ::testing::Test {
 protected:
  void SetRows(const std::string& rows) { fs_.Put("data/1.txt", "header\r\n" + rows); }

  KeyVerdict Check(const std::string& key, const std::string& skip = "1") {
    KeyVerdict verdict;
    EXPECT_OK(CheckKey(fs_, codec_, Request(key, skip), &verdict));
    return verdict;
  }

  static SeriesRequest Request(const std::string& key, const std::string& skip, const char* first = "1.txt") {
    return SeriesRequest{"data", DataFileList{{first}}, key, skip};
  }

  MemoryFileSystem fs_;
  PassThroughCodec codec_;
};

void ExpectVerdict(const KeyVerdict& verdict, VerdictKind kind, const std::optional<std::string>& name) {
  EXPECT_EQ(verdict.kind, kind);
  EXPECT_EQ(verdict.proposedName, name);
}

TEST_F(KeyCheckTest, VerdictsOnOneSeries) {
  SetRows("1.0 5\r\n1.5 6\r\n2.0 7\r\n");
  ExpectVerdict(Check("1.5"), VerdictKind::kExact, "1.5");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, "2.0");
  ExpectVerdict(Check("1"), VerdictKind::kAmbiguous, std::nullopt);
  ExpectVerdict(Check("3"), VerdictKind::kMissing, std::nullopt);
  ExpectVerdict(Check(""), VerdictKind::kAmbiguous, std::nullopt);
  EXPECT_EQ(Check("2.").kind, VerdictKind::kUniquePrefix) << "typed on the way to 2.0";
}

TEST_F(KeyCheckTest, ExactHitOutweighsEarlierPrefixLines) {
  SetRows("10 a\r\n11 b\r\n1 c\r\n");
  ExpectVerdict(Check("1"), VerdictKind::kExact, "1");
}

TEST_F(KeyCheckTest, UniquePrefixNameEndsAtTheLastSeparator) {
  SetRows("2.0\t-7\r\n3 x\r\n");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, "2.0\t");
  SetRows("2.0\xD6\xD0\x35 6\r\n");  // "2.0中5 6"
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, "2.0\xD6\xD0\x35");
}

TEST_F(KeyCheckTest, UniquePrefixLineWithoutSeparatorOrWithATooLongNameSetsNoName) {
  SetRows("2.0\r\n3 x\r\n");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, std::nullopt);
  // 251 bytes and ".txt" make the longest file name there is.
  const std::string longest = "2." + std::string(249, '5');
  SetRows(longest + " 7\r\n");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, longest);
  SetRows(longest + "5 7\r\n");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, std::nullopt);
  SetRows("2." + std::string(300000, '5') + " 7 " + std::string(300000, 'x') + "\r\n");
  ExpectVerdict(Check("2"), VerdictKind::kUniquePrefix, std::nullopt);
}

TEST_F(KeyCheckTest, HeaderLinesAreNeverTested) {
  fs_.Put("data/1.txt", "5 header" + std::string(300000, 'x') + "\r\n6 a\r\n");
  EXPECT_EQ(Check("5").kind, VerdictKind::kMissing);
  EXPECT_EQ(Check("5", "0").kind, VerdictKind::kExact);
}

TEST_F(KeyCheckTest, NoLimitOnTheNumberOfPrefixLines) {
  std::string rows;
  for (int i = 0; i < 40000; ++i) rows += "7.5 x\r\n";
  SetRows(rows);
  EXPECT_EQ(Check("7").kind, VerdictKind::kAmbiguous);
}

TEST_F(KeyCheckTest, FailuresNameTheFirstFile) {
  SetRows("1 a\r\n");
  KeyVerdict verdict;
  Status error = CheckKey(fs_, codec_, Request("1", "3"), &verdict);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, ErrorKind::kTooFewLines);
  EXPECT_EQ(error->file, std::filesystem::path("data") / "1.txt");
  error = CheckKey(fs_, codec_, Request("1", "0", "2.txt"), &verdict);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, ErrorKind::kOpenFailed);
}

}  // namespace
}  // namespace kesmaro
