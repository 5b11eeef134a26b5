#ifndef KESMARO_CORE_FILE_SYSTEM_H_
#define KESMARO_CORE_FILE_SYSTEM_H_

// What the core takes from the operating system, as small interfaces: the platform layer
// implements them on the disk, tests with an in-memory fake.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace kesmaro {

/// A file opened for sequential reading; closed when destroyed.
class InputFile {
 public:
  virtual ~InputFile() = default;
  /// Reads up to `size` bytes into `buffer`; sets `*count` to the bytes read, 0 at the end.
  virtual Status Read(char* buffer, std::size_t size, std::size_t* count) = 0;
};

/// An entry of a folder listing.
struct FolderEntry {
  std::filesystem::path name;  ///< the name only, without the folder
  bool plainFile = false;      ///< a regular file, not a folder, and neither hidden nor a system file
};

/// OpenForReading may be called from several threads at once; each file is then read by one.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) = 0;

  virtual Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) = 0;

  /// Replaces `path` with `bytes` as one step: either the whole new content is there afterwards,
  /// or the file is as it was and nothing else is left behind.
  virtual Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) = 0;

  /// True when both paths name one existing file, however they are spelled.
  virtual bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_FILE_SYSTEM_H_
