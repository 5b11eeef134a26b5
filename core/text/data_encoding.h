#ifndef KESMARO_CORE_TEXT_DATA_ENCODING_H_
#define KESMARO_CORE_TEXT_DATA_ENCODING_H_

// How a series' text is stored: the code page chosen from its first file, and the UTF-16 files
// that are read as UTF-8 and whose outputs are written back as UTF-16.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/text/code_page.h"

namespace kesmaro {

/// The code page of a series whose user named none, as its first file shows it: UTF-16 (LE or
/// BE) when it starts with that byte order mark, on every system; UTF-8 when `mayChooseUtf8` and
/// the whole file is UTF-8 text (Utf8Judge, read up to the first byte that settles it); nullopt
/// for the system's code page.
Status ChooseSeriesCodePage(FileSystem& fs, const std::filesystem::path& firstFile, bool mayChooseUtf8,
                            std::optional<CodePage>* page);

/// The bytes of an output as the data's files hold text: UTF-8 rows of UTF-16 data become UTF-16
/// with its byte order mark (a byte that is not well-formed UTF-8 becomes U+FFFD); other data's
/// stay as they are.
std::string EncodeOutput(FileForm form, std::string_view bytes);

/// The file system through which a series of `page` is read and its outputs are written: `fs`
/// itself, or for UTF-16 data a view in which each data file reads as UTF-8, without its byte
/// order mark, and each output is written as UTF-16. A file that is not UTF-16 is still read as
/// the series is: a unit that forms no character (a lone surrogate, an odd last byte) becomes
/// U+FFFD.
class DataFileSystem : public FileSystem {
 public:
  DataFileSystem(FileSystem& fs, const CodePage& page) : fs_(fs), form_(page.form) {}

  Status OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) override;
  Status ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>* entries) override {
    return fs_.ListFolder(folder, entries);
  }
  Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) override;
  bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return fs_.IsSameFile(a, b);
  }

 private:
  FileSystem& fs_;
  FileForm form_;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_TEXT_DATA_ENCODING_H_
