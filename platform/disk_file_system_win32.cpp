#include <windows.h>

#include <string>

#include "platform/disk_file_system.h"
#include "platform/win32_text.h"

namespace kesmaro {
namespace {

/// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !valid() || CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

/// A failure with the system's words for `code`, in English and in its user's language.
Error SystemError(ErrorKind kind, const std::filesystem::path& path, DWORD code) {
  return Error{kind, path, win32::ErrorText(code), win32::UserErrorText(code)};
}

Error LastError(ErrorKind kind, const std::filesystem::path& path) {
  return SystemError(kind, path, GetLastError());
}

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(HANDLE handle) : handle_(handle) {}

  Status Read(char* buffer, std::size_t size, std::size_t* count) override {
    constexpr std::size_t kMostPerCall = 1u << 30;
    DWORD got = 0;
    if (!ReadFile(handle_.get(), buffer, static_cast<DWORD>(size < kMostPerCall ? size : kMostPerCall), &got,
                  nullptr)) {
      return LastError(ErrorKind::kReadFailed, {});
    }
    *count = got;
    return std::nullopt;
  }

 private:
  Handle handle_;
};

/// The temporary file of the output being written, for the console's control handler to remove.
/// That handler runs on a thread of its own: it takes the lock and keeps it until the program
/// ends, so a write can neither make a new temporary file nor rename one after it ran. The
/// programs write one output at a time, from one thread.
struct PendingTemporary {
  SRWLOCK lock = SRWLOCK_INIT;
  bool named = false;
  wchar_t path[MAX_PATH + 1] = {};
};
PendingTemporary pendingTemporary;

BOOL WINAPI RemoveTemporaryAndDie(DWORD /*event*/) {
  AcquireSRWLockExclusive(&pendingTemporary.lock);
  // The writer opened the file with FILE_SHARE_DELETE: it goes when the program's handles close.
  if (pendingTemporary.named) DeleteFileW(pendingTemporary.path);
  return FALSE;  // the next handler, the system's, ends the program as usual
}

/// Holds the lock for one step of a write that makes, names or renames the temporary file.
class PendingStep {
 public:
  PendingStep() { AcquireSRWLockExclusive(&pendingTemporary.lock); }
  PendingStep(const PendingStep&) = delete;
  PendingStep& operator=(const PendingStep&) = delete;
  ~PendingStep() { ReleaseSRWLockExclusive(&pendingTemporary.lock); }
};

HANDLE OpenForQuery(const std::filesystem::path& path) {
  return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

Status DiskFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError(ErrorKind::kOpenFailed, path);
  // Only a file on a disk, as the listing saw it: not a pipe or a device (CON, a serial port)
  // put in its place, which could block or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return Error{ErrorKind::kOpenFailed, path, "not a regular file", "不是普通文件。"};
  }
  *file = std::make_unique<Win32InputFile>(handle);
  return std::nullopt;
}

Status DiskFileSystem::ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) {
  entries->clear();
  const std::filesystem::path pattern = (folder.empty() ? std::filesystem::path(L".") : folder) / L"*";
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::nullopt;  // a drive's empty root
    return LastError(ErrorKind::kListFailed, folder);
  }
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries->push_back(
        {std::filesystem::path(std::wstring(name)), (found.dwFileAttributes & kNotPlain) == 0});
  } while (FindNextFileW(search, &found));
  const DWORD error = GetLastError();
  FindClose(search);
  if (error != ERROR_NO_MORE_FILES) return SystemError(ErrorKind::kListFailed, folder, error);
  return std::nullopt;
}

Status DiskFileSystem::WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder =
      path.parent_path().empty() ? std::filesystem::path(L".") : path.parent_path();
  // Windows refuses a read-only target in MoveFileExW as well, but Wine replaces it.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return SystemError(ErrorKind::kWriteFailed, path, ERROR_ACCESS_DENIED);
  }
  std::filesystem::path temp;
  auto fail = [&](DWORD error) {
    DeleteFileW(temp.c_str());
    PendingStep step;
    pendingTemporary.named = false;
    return SystemError(ErrorKind::kWriteFailed, path, error);
  };
  HANDLE opened = INVALID_HANDLE_VALUE;
  {
    PendingStep step;
    // GetTempFileNameW makes the file, so it is named for removal before anything else happens.
    if (GetTempFileNameW(folder.c_str(), L"ksm", 0, pendingTemporary.path) == 0)
      return LastError(ErrorKind::kWriteFailed, path);
    pendingTemporary.named = true;
    temp = pendingTemporary.path;
    opened = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  Handle file(opened);
  if (!file.valid()) return fail(GetLastError());
  while (!bytes.empty()) {
    constexpr std::size_t kMostPerCall = 1u << 30;
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(bytes.size() < kMostPerCall ? bytes.size() : kMostPerCall);
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
      const DWORD error = GetLastError();
      file.Close();
      return fail(error);
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.get())) {
    const DWORD error = GetLastError();
    file.Close();
    return fail(error);
  }
  if (!file.Close()) return fail(GetLastError());
  DWORD moveError = 0;
  {
    PendingStep step;
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      pendingTemporary.named = false;
      return std::nullopt;
    }
    moveError = GetLastError();
  }
  return fail(moveError);
}

void RemoveTemporaryFilesOnInterrupt() { SetConsoleCtrlHandler(RemoveTemporaryAndDie, TRUE); }

bool DiskFileSystem::IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  Handle first(OpenForQuery(a));
  Handle second(OpenForQuery(b));
  if (!first.valid() || !second.valid()) return false;
  BY_HANDLE_FILE_INFORMATION infoA{};
  BY_HANDLE_FILE_INFORMATION infoB{};
  if (!GetFileInformationByHandle(first.get(), &infoA) || !GetFileInformationByHandle(second.get(), &infoB)) {
    return false;
  }
  return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

}  // namespace kesmaro
