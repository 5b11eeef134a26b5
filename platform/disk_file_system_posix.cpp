#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/disk_file_system.h"

namespace kesmaro {
namespace {

/// The system's words for an error; safe where several threads open files at once, as strerror is not.
std::string Cause(int error) { return std::generic_category().message(error); }

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

/// The temporary file of the output being written, for the signal handler to remove. A handler
/// may only use what is async-signal-safe, so the name lives in a fixed buffer, and `named` says
/// when it is complete.
struct PendingTemporary {
  std::atomic<bool> taken{false};  ///< a write owns the buffer (one at a time; others go unnamed)
  volatile std::sig_atomic_t named = 0;
  char path[PATH_MAX] = {};
};
PendingTemporary pendingTemporary;

extern "C" void RemoveTemporaryAndDie(int signal) {
  if (pendingTemporary.named) ::unlink(pendingTemporary.path);
  // SA_RESETHAND restored the default action: the signal raised again ends the program (once
  // this handler returns, while it blocks the signal) as it would have without us.
  ::raise(signal);
}

/// The signals whose default action ends the program and that a handler may catch (the real-time
/// ones too, below): a user's (Ctrl+C, Ctrl+\\, kill), the session's end, a file size or CPU limit,
/// a closed pipe, a timer, and the faults that abort.
constexpr int kEndingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

/// Sets our handler on `signal` when its action is still the default one: a signal the program
/// ignores (nohup) or that something else handles (a sanitizer's fault report) is left alone.
void HandleWhenDefault(int signal) {
  struct sigaction current {};
  if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndDie;
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
}

/// The buffer in which the temporary file's name is made and kept while it exists; a local
/// buffer when another write holds the shared one or the name does not fit.
class TemporaryName {
 public:
  explicit TemporaryName(const std::string& name) {
    if (name.size() < sizeof pendingTemporary.path && !pendingTemporary.taken.exchange(true)) {
      std::memcpy(pendingTemporary.path, name.c_str(), name.size() + 1);
      // The handler must not see the flag before the name it guards.
      std::atomic_signal_fence(std::memory_order_seq_cst);
      pendingTemporary.named = 1;
      path_ = pendingTemporary.path;
    } else {
      local_ = name;
      path_ = local_.data();
    }
  }
  TemporaryName(const TemporaryName&) = delete;
  TemporaryName& operator=(const TemporaryName&) = delete;
  ~TemporaryName() {
    if (path_ != pendingTemporary.path) return;
    pendingTemporary.named = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingTemporary.taken.store(false);
  }
  /// The name, which mkstemp fills in place.
  char* get() { return path_; }

 private:
  std::string local_;
  char* path_ = nullptr;
};

/// A hidden name beside the target, so the rename stays within one file system; the copy of the
/// target's name in it is shortened as far as needed to keep it within the folder's limit.
std::string TemporaryTemplate(const std::filesystem::path& folder, const std::string& targetName) {
  constexpr std::string_view kSuffix = ".XXXXXX";
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : 255;
  std::size_t kept = targetName.size();
  if (1 + kept + kSuffix.size() > nameMax) {
    kept = nameMax > 1 + kSuffix.size() ? nameMax - 1 - kSuffix.size() : 0;
    // Not within a UTF-8 character, for file systems that insist on valid names.
    while (kept > 0 && (static_cast<unsigned char>(targetName[kept]) & 0xC0) == 0x80) --kept;
  }
  std::string name = ".";
  name.append(targetName, 0, kept).append(kSuffix);
  return (folder / name).string();
}

/// An existing output that may not be changed (no write permission for anyone, as Windows'
/// read-only attribute, or none for us) is refused rather than replaced.
bool IsProtected(const std::filesystem::path& path) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode)) return false;
  return (existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
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
  // Not blocking, so that a FIFO put in a data file's place cannot hold the open up; whatever is
  // open then must be a regular file, as the listing saw it (not a FIFO, a device such as
  // /dev/zero behind a symlink, or a folder).
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return Error{ErrorKind::kOpenFailed, path, Cause(errno)};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = errno;
    ::close(fd);
    if (S_ISDIR(info.st_mode)) return Error{ErrorKind::kOpenFailed, path, Cause(EISDIR)};
    if (info.st_mode == 0) return Error{ErrorKind::kOpenFailed, path, Cause(error)};
    return Error{ErrorKind::kOpenFailed, path, "not a regular file", "不是普通文件。"};
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    return Error{ErrorKind::kOpenFailed, path, Cause(error)};
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
  if (IsProtected(path)) return Error{ErrorKind::kWriteFailed, path, Cause(EACCES)};
  TemporaryName temp(TemporaryTemplate(folder, path.filename().string()));
  const int fd = ::mkstemp(temp.get());
  if (fd < 0) return Error{ErrorKind::kWriteFailed, path, Cause(errno)};
  Descriptor file(fd);
  auto fail = [&](int error) {
    ::unlink(temp.get());
    return Error{ErrorKind::kWriteFailed, path, Cause(error)};
  };
  if (::fchmod(fd, NewFileMode(path)) != 0) return fail(errno);
  if (Status error = WriteAll(fd, bytes)) {
    ::unlink(temp.get());
    error->file = path;
    return error;
  }
  if (::fsync(fd) != 0) return fail(errno);
  if (file.Close() != 0) return fail(errno);
  if (::rename(temp.get(), path.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

void RemoveTemporaryFilesOnInterrupt() {
  for (const int signal : kEndingSignals) HandleWhenDefault(signal);
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) HandleWhenDefault(signal);
}

bool DiskFileSystem::IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace kesmaro
