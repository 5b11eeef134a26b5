#include "testing/memory_file_system.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kesmaro {
namespace {

std::filesystem::path Normal(const std::filesystem::path& path) { return path.lexically_normal(); }

class MemoryInputFile : public InputFile {
 public:
  MemoryInputFile(std::string bytes, std::size_t readSize, bool failMidRead)
      : bytes_(std::move(bytes)), readSize_(readSize), failMidRead_(failMidRead) {}

  Status Read(char* buffer, std::size_t size, std::size_t* count) override {
    if (failMidRead_ && pos_ > 0) return Error{ErrorKind::kReadFailed, {}, "Input/output error"};
    *count = std::min({size, readSize_, bytes_.size() - pos_});
    std::copy_n(bytes_.data() + pos_, *count, buffer);
    pos_ += *count;
    return std::nullopt;
  }

 private:
  std::string bytes_;
  std::size_t readSize_;
  bool failMidRead_;
  std::size_t pos_ = 0;
};

}  // namespace

void MemoryFileSystem::Put(const std::filesystem::path& path, std::string bytes) {
  files[Normal(path)] = std::move(bytes);
}

DataFileList MemoryFileSystem::PutSeries(const std::filesystem::path& folder,
                                         const std::vector<std::pair<std::string, std::string>>& series) {
  DataFileList list;
  for (const auto& [name, bytes] : series) {
    Put(folder / name, bytes);
    list.FileNames.emplace_back(name);
  }
  return list;
}

DataFileList MemoryFileSystem::PutNumberedSeries(const std::filesystem::path& folder,
                                                 const std::vector<std::string>& series) {
  std::vector<std::pair<std::string, std::string>> named;
  for (const std::string& bytes : series)
    named.emplace_back(std::to_string(named.size() + 1) + ".txt", bytes);
  return PutSeries(folder, named);
}

const std::string& MemoryFileSystem::Content(const std::filesystem::path& path) const {
  return files.at(Normal(path));
}

bool MemoryFileSystem::Exists(const std::filesystem::path& path) const {
  return files.count(Normal(path)) > 0;
}

Status MemoryFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) {
  const std::lock_guard<std::mutex> lock(openMutex_);
  opened.push_back(path);
  const auto found = files.find(Normal(path));
  if (found == files.end()) return Error{ErrorKind::kOpenFailed, path, "No such file or directory"};
  if (unreadable.count(Normal(path)) > 0) return Error{ErrorKind::kOpenFailed, path, "Permission denied"};
  *file = std::make_unique<MemoryInputFile>(found->second, readSize, failMidRead.count(Normal(path)) > 0);
  return std::nullopt;
}

Status MemoryFileSystem::ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) {
  entries->clear();
  const std::filesystem::path wanted = Normal(folder / "");
  bool found = folders.count(Normal(folder)) > 0;
  for (const auto& [path, bytes] : files) {
    if (Normal(path.parent_path() / "") != wanted) continue;
    found = true;
    entries->push_back({path.filename(), hidden.count(path) == 0});
  }
  for (const auto& path : folders) {
    if (Normal(path.parent_path() / "") == wanted) entries->push_back({path.filename(), false});
  }
  if (!found) return Error{ErrorKind::kListFailed, folder, "No such file or directory"};
  return std::nullopt;
}

Status MemoryFileSystem::WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  if (failWrites) return Error{ErrorKind::kWriteFailed, path, "Permission denied"};
  files[Normal(path)] = std::string(bytes);
  return std::nullopt;
}

bool MemoryFileSystem::IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  return Exists(a) && Normal(a) == Normal(b);
}

std::optional<std::string> PassThroughCodec::Encode(const Native& text) const {
  std::string out;
  for (auto ch : text) {
    if ((asciiOnly_ || sizeof(ch) > 1) && static_cast<unsigned long>(ch) >= 0x80) return std::nullopt;
    out.push_back(static_cast<char>(ch));
  }
  return out;
}

std::optional<TextCodec::Native> PassThroughCodec::Decode(std::string_view bytes) const {
  Native out;
  for (char ch : bytes) {
    if ((asciiOnly_ || sizeof(Native::value_type) > 1) && static_cast<unsigned char>(ch) >= 0x80)
      return std::nullopt;
    out.push_back(static_cast<Native::value_type>(static_cast<unsigned char>(ch)));
  }
  return out;
}

std::string Repeated(std::string_view text, std::size_t count) {
  std::string repeated;
  repeated.reserve(text.size() * count);
  for (std::size_t i = 0; i < count; ++i) repeated += text;
  return repeated;
}

Status ReadToEnd(InputFile& file, std::size_t chunk, std::string* bytes) {
  bytes->clear();
  std::vector<char> buffer(chunk);
  for (std::size_t count = 1; count > 0; bytes->append(buffer.data(), count)) {
    if (Status error = file.Read(buffer.data(), chunk, &count)) return error;
  }
  return std::nullopt;
}

}  // namespace kesmaro
