#ifndef KESMARO_TESTING_SCRATCH_FOLDERS_H_
#define KESMARO_TESTING_SCRATCH_FOLDERS_H_

// A scratch place for end-to-end tests: a data folder for a series and a working folder, where
// the programs write their output, made current for the test's length.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kesmaro {

class ScratchFolders {
 public:
  /// <temp>/<prefix>-<unique>/ holding `dataName` and "work"; "work" becomes the current folder.
  ScratchFolders(std::string_view prefix, const std::filesystem::path& dataName)
      : root(std::filesystem::temp_directory_path() / UniqueName(prefix)),
        data(root / dataName),
        work(root / "work"),
        previous(std::filesystem::current_path()) {
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(work);
    std::filesystem::current_path(work);
  }
  ScratchFolders(const ScratchFolders&) = delete;
  ScratchFolders& operator=(const ScratchFolders&) = delete;

  /// Back to the folder the test started in; everything made here is removed.
  ~ScratchFolders() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(root, ignored);
  }

  const std::filesystem::path root, data, work;
  const std::filesystem::path previous;  ///< the test program's own working folder

 private:
  static std::string UniqueName(std::string_view prefix) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::string(prefix) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++);
  }
};

/// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kesmaro

#endif  // KESMARO_TESTING_SCRATCH_FOLDERS_H_
