#include "core/run/data_file_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

std::vector<std::string> Names(const DataFileList& list) {
  std::vector<std::string> names;
  for (const auto& name : list.FileNames) names.push_back(name.string());
  return names;
}

class DataFileListTest : public ::testing::Test {
 protected:
  void Add(std::initializer_list<const char*> names) {
    for (const char* name : names) fs_.Put(std::string("data/") + name, "");
  }

  std::vector<std::string> List(std::string_view extension = ".txt") {
    DataFileList list;
    EXPECT_OK(ListDataFiles(fs_, "data", extension, &list));
    return Names(list);
  }

  MemoryFileSystem fs_;
};

using Strings = std::vector<std::string>;

TEST_F(DataFileListTest, OrdersByLeadingNumberThenByName) {
  // A name's number has an optional sign and fraction, and no exponent.
  Add({"10.txt", "9.txt", "b.txt", "2.5.txt", "-5.txt", "100.txt", "3.txt", "a.txt", "03.txt", ".txt",
       "+4.txt", ".5x.txt", "1e5.txt"});
  EXPECT_EQ(List(), (Strings{"-5.txt", ".txt", "a.txt", "b.txt", ".5x.txt", "1e5.txt", "2.5.txt", "03.txt",
                             "3.txt", "+4.txt", "9.txt", "10.txt", "100.txt"}));
}

TEST_F(DataFileListTest, OnlyPlainFilesOfTheChosenExtensionInAnyCase) {
  Add({"1.txt", "2.TXT", "3.asc", "4.txt.bak", "5txt", "6.Asc"});
  fs_.folders.insert("data/7.txt");
  fs_.Put("data/8.txt", "");
  fs_.hidden.insert("data/8.txt");
  EXPECT_EQ(List(".txt"), (Strings{"1.txt", "2.TXT"}));
  EXPECT_EQ(List(".asc"), (Strings{"3.asc", "6.Asc"}));
}

TEST_F(DataFileListTest, AMissingFolderLeavesNoNames) {
  DataFileList list;
  list.FileNames = {"stale.txt"};
  const Status error = ListDataFiles(fs_, "elsewhere", ".txt", &list);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, ErrorKind::kListFailed);
  EXPECT_EQ(list.FileCount(), 0u) << "a failed listing leaves no stale names";
}

}  // namespace
}  // namespace kesmaro
