#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/disk_file_system.h"

namespace kesmaro {
namespace {

std::string Cause(int error) { return std::strerror(error); }

/// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  /// Closes now, reporting the failure that close may bring (a late write error).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(int fd) : fd_(fd) {}

  Status Read(char* buffer, std::size_t size, std::size_t* count) override {
    for (;;) {
      const ssize_t got = ::read(fd_.get(), buffer, size);
      if (got >= 0) {
        *count = static_cast<std::size_t>(got);
        return std::nullopt;
      }
      if (errno != EINTR) return Error{ErrorKind::kReadFailed, {}, Cause(errno)};
    }
  }

 private:
  Descriptor fd_;
};

Status WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Error{ErrorKind::kWriteFailed, {}, Cause(errno)};
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return std::nullopt;
}

mode_t NewFileMode(const std::filesystem::path& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

Status DiskFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Error{ErrorKind::kOpenFailed, path, Cause(errno)};
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Error{ErrorKind::kOpenFailed, path, Cause(EISDIR)};
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  *file = std::make_unique<PosixInputFile>(fd);
  return std::nullopt;
}

Status DiskFileSystem::ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) {
  entries->clear();
  const std::filesystem::path where = folder.empty() ? "." : folder;
  DIR* dir = ::opendir(where.c_str());
  if (dir == nullptr) return Error{ErrorKind::kListFailed, folder, Cause(errno)};
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const bool regular = ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
    // Names that begin with a dot are hidden by convention (and include the "._" files that
    // other systems leave beside copied files).
    entries->push_back({std::filesystem::path(std::string(name)), regular && name.front() != '.'});
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) return Error{ErrorKind::kListFailed, folder, Cause(error)};
  return std::nullopt;
}

Status DiskFileSystem::WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  // A hidden name beside the target, so the rename stays within one file system.
  std::string tempName = ".";
  tempName.append(path.filename().string()).append(".XXXXXX");
  std::string temp = (folder / tempName).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return Error{ErrorKind::kWriteFailed, path, Cause(errno)};
  Descriptor file(fd);
  auto fail = [&](int error) {
    ::unlink(temp.c_str());
    return Error{ErrorKind::kWriteFailed, path, Cause(error)};
  };
  if (::fchmod(fd, NewFileMode(path)) != 0) return fail(errno);
  if (Status error = WriteAll(fd, bytes)) {
    ::unlink(temp.c_str());
    error->file = path;
    return error;
  }
  if (::fsync(fd) != 0) return fail(errno);
  if (file.Close() != 0) return fail(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

bool DiskFileSystem::IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace kesmaro
