#include "core/text/data_encoding.h"

#include <algorithm>
#include <utility>

namespace kesmaro {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUnit(char16_t unit, bool bigEndian, std::string* out) {
  const auto high = static_cast<char>(unit >> 8);
  const auto low = static_cast<char>(unit & 0xFF);
  out->push_back(bigEndian ? high : low);
  out->push_back(bigEndian ? low : high);
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

/// A UTF-16 file read as UTF-8, a block at a time.
class Utf16InputFile : public InputFile {
 public:
  Utf16InputFile(std::unique_ptr<InputFile> raw, bool bigEndian)
      : raw_(std::move(raw)), bigEndian_(bigEndian) {}

  Status Read(char* buffer, std::size_t size, std::size_t* count) override {
    while (next_ == converted_.size() && !ended_) {
      if (Status error = Convert()) return error;
    }
    *count = std::min(size, converted_.size() - next_);
    std::copy_n(converted_.data() + next_, *count, buffer);
    next_ += *count;
    return std::nullopt;
  }

 private:
  char32_t UnitAt(std::size_t pos) const {
    const auto first = static_cast<unsigned char>(rawBytes_[pos]);
    const auto second = static_cast<unsigned char>(rawBytes_[pos + 1]);
    return static_cast<char32_t>(bigEndian_ ? (first << 8 | second) : (second << 8 | first));
  }

  /// Reads the next block and converts every character it completes; what it leaves open (an odd
  /// byte, a high surrogate) waits for the next block, or becomes U+FFFD at the file's end.
  Status Convert() {
    converted_.clear();
    next_ = 0;
    const std::size_t held = rawBytes_.size();
    rawBytes_.resize(held + kBlockSize);
    std::size_t got = 0;
    if (Status error = raw_->Read(rawBytes_.data() + held, kBlockSize, &got)) return error;
    rawBytes_.resize(held + got);
    ended_ = got == 0;
    std::size_t pos = 0;
    if (!started_) {
      if (rawBytes_.size() < 2 && !ended_) return std::nullopt;
      started_ = true;
      const std::string_view mark = bigEndian_ ? kUtf16BeByteOrderMark : kUtf16LeByteOrderMark;
      if (std::string_view(rawBytes_).starts_with(mark)) pos = 2;
    }
    while (pos + 2 <= rawBytes_.size()) {
      const char32_t unit = UnitAt(pos);
      if (!IsHighSurrogate(unit)) {
        AppendUtf8(IsLowSurrogate(unit) ? kReplacement : unit, &converted_);
        pos += 2;
        continue;
      }
      if (pos + 4 > rawBytes_.size()) {
        if (!ended_) break;
        AppendUtf8(kReplacement, &converted_);
        pos += 2;
        continue;
      }
      const char32_t low = UnitAt(pos + 2);
      if (!IsLowSurrogate(low)) {
        AppendUtf8(kReplacement, &converted_);
        pos += 2;
        continue;
      }
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), &converted_);
      pos += 4;
    }
    if (ended_ && pos < rawBytes_.size()) {  // an odd last byte
      AppendUtf8(kReplacement, &converted_);
      pos = rawBytes_.size();
    }
    rawBytes_.erase(0, pos);
    return std::nullopt;
  }

  std::unique_ptr<InputFile> raw_;
  bool bigEndian_;
  std::string rawBytes_;  ///< read and not yet converted
  std::string converted_;
  std::size_t next_ = 0;  ///< the first byte of converted_ not yet handed over
  bool started_ = false;
  bool ended_ = false;
};

}  // namespace

Status ChooseSeriesCodePage(FileSystem& fs, const std::filesystem::path& firstFile, bool mayChooseUtf8,
                            std::optional<CodePage>* page) {
  *page = std::nullopt;
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(firstFile, &file)) return error;
  std::string block(kBlockSize, '\0');
  std::string start;  // the file's first two bytes, for a UTF-16 mark
  Utf8Judge judge;
  for (;;) {
    std::size_t count = 0;
    if (Status error = file->Read(block.data(), block.size(), &count)) {
      error->file = firstFile;
      return error;
    }
    const std::string_view got(block.data(), count);
    const bool startKnown = start.size() == 2;
    if (!startKnown) start += got.substr(0, 2 - start.size());
    if (!startKnown && (start.size() == 2 || count == 0)) {
      if (start == kUtf16LeByteOrderMark || start == kUtf16BeByteOrderMark) {
        *page = CodePageByName(start == kUtf16LeByteOrderMark ? "utf-16le" : "utf-16be");
        return std::nullopt;
      }
      if (!mayChooseUtf8) return std::nullopt;
    }
    const bool settled = mayChooseUtf8 && judge.Take(got);
    if (count == 0 || (settled && start.size() == 2)) break;
  }
  if (judge.IsUtf8()) *page = CodePageByName("utf-8");
  return std::nullopt;
}

std::string EncodeOutput(FileForm form, std::string_view bytes) {
  if (form == FileForm::kAsIs) return std::string(bytes);
  const bool bigEndian = form == FileForm::kUtf16Be;
  std::string out(bigEndian ? kUtf16BeByteOrderMark : kUtf16LeByteOrderMark);
  out.reserve(2 + bytes.size() * 2);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = CharLength(CharScheme::kUtf8, bytes, pos);
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    char32_t code = kReplacement;
    if (length == 1 && lead < 0x80) {
      code = lead;
    } else if (length > 1) {
      code = lead & (0x7F >> length);
      for (std::size_t i = 1; i < length; ++i)
        code = code << 6 | (static_cast<unsigned char>(bytes[pos + i]) & 0x3F);
    }
    pos += length;
    if (code < 0x10000) {
      AppendUnit(static_cast<char16_t>(code), bigEndian, &out);
    } else {
      AppendUnit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), bigEndian, &out);
      AppendUnit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), bigEndian, &out);
    }
  }
  return out;
}

Status DataFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<InputFile>* file) {
  if (Status error = fs_.OpenForReading(path, file)) return error;
  if (form_ != FileForm::kAsIs)
    *file = std::make_unique<Utf16InputFile>(std::move(*file), form_ == FileForm::kUtf16Be);
  return std::nullopt;
}

Status DataFileSystem::WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  if (form_ == FileForm::kAsIs) return fs_.WriteFileAtomically(path, bytes);
  return fs_.WriteFileAtomically(path, EncodeOutput(form_, bytes));
}

}  // namespace kesmaro
