#ifndef KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_
#define KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_

#include "core/file_system.h"

namespace kesmaro {

/// The core's file system on the real disk. Output files are written to a temporary file in
/// the target's folder and renamed over the target once complete.
class DiskFileSystem : public FileSystem {
 public:
  Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) override;
  Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) override;
  Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) override;
  bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) override;
};

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_
