#include "core/run/data_file_list.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "core/run/line_rules.h"

namespace kesmaro {
namespace {

/// The name's characters that matter for matching and ordering: ASCII stays as it is, every
/// other character becomes a byte that is neither a digit, a sign nor a point.
std::string AsciiView(const std::filesystem::path& name) {
  std::string out;
  for (auto ch : name.native()) {
    const auto code = static_cast<unsigned long>(ch);
    out.push_back(code < 0x80 ? static_cast<char>(code) : '\x7f');
  }
  return out;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) {
                      auto lower = [](char c) {
                        return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                      };
                      return lower(a) == lower(b);
                    });
}

}  // namespace

Status ListDataFiles(FileSystem& fs, const std::filesystem::path& folder, std::string_view extension,
                     DataFileList* list) {
  list->FileNames.clear();
  std::vector<FolderEntry> entries;
  if (Status error = fs.ListFolder(folder, &entries)) return error;

  struct Numbered {
    double number;
    std::filesystem::path name;
  };
  std::vector<Numbered> files;
  for (FolderEntry& entry : entries) {
    const std::string ascii = AsciiView(entry.name);
    if (!entry.plainFile || !EndsWithIgnoringCase(ascii, extension)) continue;
    files.push_back({LeadingNumber(ascii), std::move(entry.name)});
  }
  std::sort(files.begin(), files.end(), [](const Numbered& a, const Numbered& b) {
    if (a.number != b.number) return a.number < b.number;
    return a.name.native() < b.name.native();
  });
  list->FileNames.reserve(files.size());
  for (Numbered& file : files) list->FileNames.push_back(std::move(file.name));
  return std::nullopt;
}

Status RefuseDataFileAsOutput(FileSystem& fs, const std::filesystem::path& folder, const DataFileList& list,
                              const std::filesystem::path& output) {
  for (const std::filesystem::path& name : list.FileNames) {
    if (fs.IsSameFile(output, folder / name)) return Error{ErrorKind::kOutputIsDataFile, output, {}};
  }
  return std::nullopt;
}

Status EncodedStem(const TextCodec& codec, const std::filesystem::path& folder,
                   const std::filesystem::path& name, std::string* stem) {
  const std::optional<std::string> encoded = codec.Encode(name.native());
  if (!encoded) return Error{ErrorKind::kNameNotInCodePage, folder / name, {}};
  *stem = FileStem(*encoded);
  return std::nullopt;
}

}  // namespace kesmaro
