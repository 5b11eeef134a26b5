#ifndef KESMARO_TESTING_MEMORY_FILE_SYSTEM_H_
#define KESMARO_TESTING_MEMORY_FILE_SYSTEM_H_

// An in-memory file system and a pass-through text codec, so the core's tests need no disk.

#include <cstddef>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/text/text_codec.h"

namespace kesmaro {

/// Files may be opened from several threads at once, as the table does; everything else is for one.
class MemoryFileSystem : public FileSystem {
 public:
  /// Adds or replaces a file.
  void Put(const std::filesystem::path& path, std::string bytes);
  /// Adds the files of a series, name and bytes, to `folder`, and lists them in that order.
  DataFileList PutSeries(const std::filesystem::path& folder,
                         const std::vector<std::pair<std::string, std::string>>& series);
  /// PutSeries of files named 1.txt, 2.txt, ...
  DataFileList PutNumberedSeries(const std::filesystem::path& folder, const std::vector<std::string>& series);
  /// The content of a file; throws when there is none.
  const std::string& Content(const std::filesystem::path& path) const;
  bool Exists(const std::filesystem::path& path) const;

  Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) override;
  Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) override;
  Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) override;
  bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) override;

  std::map<std::filesystem::path, std::string> files;
  std::set<std::filesystem::path> folders;      ///< listed as entries that are not plain files
  std::set<std::filesystem::path> hidden;       ///< listed as entries that are not plain files
  std::set<std::filesystem::path> unreadable;   ///< opening these fails
  std::set<std::filesystem::path> failMidRead;  ///< reading these fails after the first block
  bool failWrites = false;
  std::size_t readSize = 4096;  ///< the most one Read returns; small sizes split lines across blocks
  std::vector<std::filesystem::path> opened;  ///< every path opened, in order

 private:
  std::mutex openMutex_;
};

/// Names pass as they are, in a code page of the scheme `page` has (GBK unless told); on
/// Windows, and with `asciiOnly` everywhere, text of ASCII characters only, like a code page that
/// lacks whatever else the user types or the data holds.
class PassThroughCodec : public TextCodec {
 public:
  explicit PassThroughCodec(CodePage page = {"GBK", 936, CharScheme::kGbk}, bool asciiOnly = false)
      : TextCodec(std::move(page)), asciiOnly_(asciiOnly) {}
  std::optional<std::string> Encode(const Native& text) const override;
  std::optional<Native> Decode(std::string_view bytes) const override;

 private:
  bool asciiOnly_;
};

/// `count` copies of `text`: the many lines and long lines of the cases' files.
std::string Repeated(std::string_view text, std::size_t count);

/// Reads `file` to its end into `bytes`, asking for `chunk` bytes a call.
Status ReadToEnd(InputFile& file, std::size_t chunk, std::string* bytes);

}  // namespace kesmaro

#endif  // KESMARO_TESTING_MEMORY_FILE_SYSTEM_H_
