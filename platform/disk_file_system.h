#ifndef KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_
#define KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_

#include "core/file_system.h"

namespace kesmaro {

/// The core's file system on the real disk. Output files are written to a temporary file in
/// the target's folder and renamed over the target once complete. An existing output that is
/// read-only is refused, on every system. Only regular files are opened for reading, and opening
/// never waits (on a FIFO, say).
class DiskFileSystem : public FileSystem {
 public:
  Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) override;
  Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) override;
  Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) override;
  bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) override;
};

/// Makes every signal that would end the program (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ, ...;
/// on Windows: Ctrl+C, Ctrl+Break and closing the console) remove the temporary file of an output
/// being written before it ends the program as it otherwise would. Signals the program ignores or
/// already handles stay so. Call once, early in main.
void RemoveTemporaryFilesOnInterrupt();

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_DISK_FILE_SYSTEM_H_
