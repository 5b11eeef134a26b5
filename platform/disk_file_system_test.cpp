#include "platform/disk_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "testing/memory_file_system.h"
#include "testing/scratch_folders.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

namespace fs = std::filesystem;

class DiskFileSystemTest : public ::testing::Test {
 protected:
  void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }

  ScratchFolders folders_{"kesmaro-disk", "data"};
  const fs::path& dir_ = folders_.data;
  DiskFileSystem disk_;
};

TEST_F(DiskFileSystemTest, AtomicWriteReplacesTheFileAndLeavesNothingElse) {
  Write(dir_ / "out.txt", "old content that is longer");
  ASSERT_OK(disk_.WriteFileAtomically(dir_ / "out.txt", std::string("1 a\r\n2 \x81\xFF\0b\r\n", 13)));
  EXPECT_EQ(ReadFile(dir_ / "out.txt"), std::string("1 a\r\n2 \x81\xFF\0b\r\n", 13));
  EXPECT_EQ(Entries(), (std::set<std::string>{"out.txt"}));
  ASSERT_OK(disk_.WriteFileAtomically(dir_ / "empty.txt", ""));
  EXPECT_EQ(ReadFile(dir_ / "empty.txt"), "");
  // The longest name a folder takes: the temporary name beside it must fit as well.
  const std::string longest = std::string(251, 'n') + ".txt";
  ASSERT_OK(disk_.WriteFileAtomically(dir_ / longest, "rows")) << "a legal name of 255 bytes";
  EXPECT_EQ(ReadFile(dir_ / longest), "rows");
  EXPECT_EQ(Entries(), (std::set<std::string>{"out.txt", "empty.txt", longest}));
}

TEST_F(DiskFileSystemTest, FailedWriteNamesTheFileAndLeavesNoTrace) {
  // A folder in the output's place, a missing folder, and a read-only output, which is kept for
  // every user (root too) and on every system.
  fs::create_directory(dir_ / "taken.txt");
  Write(dir_ / "taken.txt" / "inside", "kept");
  Write(dir_ / "kept.txt", "earlier");
  const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(dir_ / "kept.txt", writable, fs::perm_options::remove);
  for (const fs::path& path : {dir_ / "taken.txt", dir_ / "no-such-folder" / "out.txt", dir_ / "kept.txt"}) {
    const Status error = disk_.WriteFileAtomically(path, "rows");
    EXPECT_TRUE(error) << path;
    if (!error) continue;
    EXPECT_EQ(error->kind, ErrorKind::kWriteFailed);
    EXPECT_EQ(error->file, path);
    EXPECT_FALSE(error->cause.empty()) << path;
  }
  fs::permissions(dir_ / "kept.txt", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(ReadFile(dir_ / "taken.txt" / "inside"), "kept");
  EXPECT_EQ(ReadFile(dir_ / "kept.txt"), "earlier");
  EXPECT_EQ(Entries(), (std::set<std::string>{"taken.txt", "kept.txt"}));
}

// Wine delivers no console control events to a test, so the Windows handler has no test here.
#ifndef _WIN32
TEST_F(DiskFileSystemTest, InterruptedWriteLeavesNoTemporaryFileAndStillEndsTheProgram) {
  const std::string rows(16 << 20, 'r');
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ, SIGUSR1}) {
    EXPECT_EXIT(
        {
          RemoveTemporaryFilesOnInterrupt();
          // The signal comes from outside the program's flow, 20 ms into writing the outputs.
          sigevent event{};
          event.sigev_notify = SIGEV_SIGNAL;
          event.sigev_signo = signal;
          timer_t timer{};
          itimerspec when{};
          when.it_value.tv_nsec = 20'000'000;
          if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0 ||
              timer_settime(timer, 0, &when, nullptr) != 0)
            std::exit(1);
          for (;;) (void)disk_.WriteFileAtomically(dir_ / "out.txt", rows);
        },
        ::testing::KilledBySignal(signal), "");
    for (const std::string& name : Entries()) EXPECT_EQ(name, "out.txt") << "signal " << signal;
  }
}
#endif

TEST_F(DiskFileSystemTest, ReadsRegularFilesUnchangedAndRefusesEverythingElseAtOnce) {
  const std::string bytes = std::string("h\r\n1\t2\x00\xD6\xD0\r", 10) + std::string(300000, '7');
  Write(dir_ / "1.txt", bytes);
  std::unique_ptr<InputFile> file;
  ASSERT_OK(disk_.OpenForReading(dir_ / "1.txt", &file));
  std::string got;
  ASSERT_OK(ReadToEnd(*file, 65536, &got));
  EXPECT_EQ(got, bytes);
  // A missing file, and a FIFO or a device in a data file's place after the listing, which are
  // refused by name without waiting.
#ifdef _WIN32
  const std::vector<fs::path> refused = {dir_ / "2.txt", "NUL"};  // CON needs a console
#else
  ASSERT_EQ(::mkfifo((dir_ / "3.txt").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir_ / "4.txt");
  const std::vector<fs::path> refused = {dir_ / "2.txt", dir_ / "3.txt", dir_ / "4.txt"};
#endif
  for (const fs::path& path : refused) {
    const Status error = disk_.OpenForReading(path, &file);
    ASSERT_TRUE(error) << path;
    EXPECT_EQ(error->kind, ErrorKind::kOpenFailed);
    EXPECT_EQ(error->file, path);
    const bool missing = path == dir_ / "2.txt";
    EXPECT_EQ(error->cause == "not a regular file", !missing) << path << ": " << error->cause;
    EXPECT_FALSE(error->cause.empty()) << path;
#ifdef _WIN32
    if (missing) {
      EXPECT_FALSE(error->userCause.empty()) << "Windows words the cause for its user as well";
    }
#endif
  }
}

TEST_F(DiskFileSystemTest, ListsNamesTellsPlainFilesFromFoldersAndKnowsAFileHoweverSpelled) {
  Write(dir_ / "1.txt", "");
  Write(dir_ / "2.asc", "");
  fs::create_directory(dir_ / "3.txt");
  std::vector<FolderEntry> entries;
  ASSERT_OK(disk_.ListFolder(dir_, &entries));
  std::set<std::pair<std::string, bool>> got;
  for (const FolderEntry& entry : entries) got.insert({entry.name.string(), entry.plainFile});
  EXPECT_EQ(got,
            (std::set<std::pair<std::string, bool>>{{"1.txt", true}, {"2.asc", true}, {"3.txt", false}}));
  EXPECT_EQ(disk_.ListFolder(dir_ / "missing", &entries)->kind, ErrorKind::kListFailed);

  EXPECT_TRUE(disk_.IsSameFile(dir_ / "1.txt", dir_ / "." / "1.txt"));
  EXPECT_FALSE(disk_.IsSameFile(dir_ / "1.txt", dir_ / "2.asc"));
  EXPECT_FALSE(disk_.IsSameFile(dir_ / "9.txt", dir_ / "9.txt")) << "a missing file is no data file";
}

}  // namespace
}  // namespace kesmaro
