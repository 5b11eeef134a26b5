#include "core/text/code_page.h"

#include <array>
#include <cctype>

namespace kesmaro {
namespace {

struct KnownCodePage {
  std::string_view iconvName;
  unsigned windowsId;
  CharScheme scheme;
  std::array<std::string_view, 6> aliases;  // normalised: lower case, no '-' or '_'
};

constexpr KnownCodePage kKnown[] = {
    {"GBK", 936, CharScheme::kGbk, {"gbk", "cp936", "936", "gb2312", "windows936", "euccn"}},
    {"GB18030", 54936, CharScheme::kGb18030, {"gb18030", "cp54936", "54936", "windows54936"}},
    {"UTF-8", 65001, CharScheme::kUtf8, {"utf8", "cp65001", "65001"}},
    {"BIG5", 950, CharScheme::kBig5, {"big5", "cp950", "950", "windows950"}},
    {"CP932", 932, CharScheme::kShiftJis, {"shiftjis", "sjis", "cp932", "932", "windows31j", "mskanji"}},
    {"CP949", 949, CharScheme::kUhc, {"cp949", "949", "uhc", "euckr", "windows949"}},
    {"CP1250", 1250, CharScheme::kSingleByte, {"cp1250", "1250", "windows1250"}},
    {"CP1251", 1251, CharScheme::kSingleByte, {"cp1251", "1251", "windows1251"}},
    {"CP1252", 1252, CharScheme::kSingleByte, {"cp1252", "1252", "windows1252"}},
    {"CP1253", 1253, CharScheme::kSingleByte, {"cp1253", "1253", "windows1253"}},
    {"CP1254", 1254, CharScheme::kSingleByte, {"cp1254", "1254", "windows1254"}},
    {"CP1255", 1255, CharScheme::kSingleByte, {"cp1255", "1255", "windows1255"}},
    {"CP1256", 1256, CharScheme::kSingleByte, {"cp1256", "1256", "windows1256"}},
    {"CP1257", 1257, CharScheme::kSingleByte, {"cp1257", "1257", "windows1257"}},
    {"CP1258", 1258, CharScheme::kSingleByte, {"cp1258", "1258", "windows1258"}},
    {"CP874", 874, CharScheme::kSingleByte, {"cp874", "874", "windows874"}},
    {"CP437", 437, CharScheme::kSingleByte, {"cp437", "437", "ibm437"}},
    {"CP850", 850, CharScheme::kSingleByte, {"cp850", "850", "ibm850"}},
    {"CP852", 852, CharScheme::kSingleByte, {"cp852", "852", "ibm852"}},
    {"CP866", 866, CharScheme::kSingleByte, {"cp866", "866", "ibm866"}},
    {"ISO-8859-1", 28591, CharScheme::kSingleByte, {"iso88591", "latin1", "28591", "l1"}},
    {"ISO-8859-2", 28592, CharScheme::kSingleByte, {"iso88592", "latin2", "28592"}},
    {"ISO-8859-5", 28595, CharScheme::kSingleByte, {"iso88595", "28595"}},
    {"ISO-8859-7", 28597, CharScheme::kSingleByte, {"iso88597", "28597"}},
    {"ISO-8859-9", 28599, CharScheme::kSingleByte, {"iso88599", "latin5", "28599"}},
    {"ISO-8859-15", 28605, CharScheme::kSingleByte, {"iso885915", "latin9", "28605"}},
    {"KOI8-R", 20866, CharScheme::kSingleByte, {"koi8r", "20866"}},
    {"KOI8-U", 21866, CharScheme::kSingleByte, {"koi8u", "21866"}},
    // The C locale's codeset, as nl_langinfo names it.
    {"ASCII", 20127, CharScheme::kSingleByte, {"ascii", "usascii", "ansix3.41968", "20127", "646"}},
    {"TIS-620", 28601, CharScheme::kSingleByte, {"tis620", "28601"}},
};

/// The names of UTF-16 data, which the core reads as UTF-8.
struct Utf16Name {
  std::string_view alias;  // normalised
  FileForm form;
};
constexpr Utf16Name kUtf16Names[] = {
    {"utf16le", FileForm::kUtf16Le}, {"cp1200", FileForm::kUtf16Le}, {"1200", FileForm::kUtf16Le},
    {"utf16be", FileForm::kUtf16Be}, {"cp1201", FileForm::kUtf16Be}, {"1201", FileForm::kUtf16Be},
};

std::string Normalise(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return out;
}

CodePage ToCodePage(const KnownCodePage& known) {
  return CodePage{std::string(known.iconvName), known.windowsId, known.scheme};
}

struct LanguageCodePage {
  std::string_view language;  ///< "zh_CN", or a language alone for all its territories
  unsigned windowsId;
};

// Windows' ANSI code page by language (its "language for non-Unicode programs").
constexpr LanguageCodePage kLanguageCodePages[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936},  {"ja", 932},  {"ko", 949},  {"ru", 1251},
    {"uk", 1251},   {"be", 1251},   {"bg", 1251},   {"mk", 1251}, {"sr", 1251}, {"kk", 1251}, {"pl", 1250},
    {"cs", 1250},   {"sk", 1250},   {"hu", 1250},   {"sl", 1250}, {"hr", 1250}, {"ro", 1250}, {"bs", 1250},
    {"sq", 1250},   {"el", 1253},   {"tr", 1254},   {"az", 1254}, {"he", 1255}, {"ar", 1256}, {"fa", 1256},
    {"ur", 1256},   {"lt", 1257},   {"lv", 1257},   {"et", 1257}, {"vi", 1258}, {"th", 874},
};

bool InRange(unsigned char byte, unsigned lo, unsigned hi) { return byte >= lo && byte <= hi; }

/// Length of a double-byte character whose lead is at `pos`, or 1 when the next byte is not a
/// trail byte of the scheme.
template <typename IsLead, typename IsTrail>
std::size_t DoubleByte(std::string_view text, std::size_t pos, IsLead isLead, IsTrail isTrail) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (!isLead(lead) || pos + 1 >= text.size()) return 1;
  return isTrail(static_cast<unsigned char>(text[pos + 1])) ? 2 : 1;
}

/// What the lead byte of a UTF-8 character says of it: its length (0 when it leads none) and the
/// range of the next byte, which excludes overlong and surrogate forms.
struct Utf8Lead {
  std::size_t length = 0;
  unsigned lo = 0x80;
  unsigned hi = 0xBF;
};

Utf8Lead ReadUtf8Lead(unsigned char lead) {
  if (InRange(lead, 0xC2, 0xDF)) return {2, 0x80, 0xBF};
  if (InRange(lead, 0xE0, 0xEF)) return {3, lead == 0xE0 ? 0xA0u : 0x80u, lead == 0xED ? 0x9Fu : 0xBFu};
  if (InRange(lead, 0xF0, 0xF4)) return {4, lead == 0xF0 ? 0x90u : 0x80u, lead == 0xF4 ? 0x8Fu : 0xBFu};
  return {0, 0x80, 0xBF};
}

/// How many bytes from `text[pos]` on (at most its length) may belong to the character `lead` leads.
std::size_t Utf8Follows(const Utf8Lead& lead, std::string_view text, std::size_t pos) {
  std::size_t count = 1;
  for (; count < lead.length && pos + count < text.size(); ++count) {
    const auto byte = static_cast<unsigned char>(text[pos + count]);
    if (count == 1 ? !InRange(byte, lead.lo, lead.hi) : !InRange(byte, 0x80, 0xBF)) break;
  }
  return count;
}

std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  const auto first = static_cast<unsigned char>(text[pos]);
  if (first < 0x80) return 1;
  const Utf8Lead lead = ReadUtf8Lead(first);
  return lead.length > 1 && Utf8Follows(lead, text, pos) == lead.length ? lead.length : 1;
}

/// Whether `text` is the start of a well-formed UTF-8 character that goes on past its end.
bool Utf8Prefix(std::string_view text) {
  const Utf8Lead lead = ReadUtf8Lead(static_cast<unsigned char>(text[0]));
  return text.size() < lead.length && Utf8Follows(lead, text, 0) == text.size();
}

}  // namespace

std::optional<CodePage> CodePageByName(std::string_view name) {
  const std::string wanted = Normalise(name);
  for (const Utf16Name& utf16 : kUtf16Names) {
    if (utf16.alias != wanted) continue;
    CodePage page = *CodePageById(65001);
    page.form = utf16.form;
    return page;
  }
  for (const KnownCodePage& known : kKnown) {
    for (std::string_view alias : known.aliases) {
      if (!alias.empty() && alias == wanted) return ToCodePage(known);
    }
  }
  return std::nullopt;
}

std::optional<CodePage> CodePageById(unsigned windowsId) {
  for (const KnownCodePage& known : kKnown) {
    if (known.windowsId == windowsId) return ToCodePage(known);
  }
  return std::nullopt;
}

CodePage WindowsCodePageForLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const std::size_t at = locale.find('@');
  if (at != std::string_view::npos) locale = locale.substr(0, at);
  std::string_view codeset;
  if (const std::size_t dot = locale.find('.'); dot != std::string_view::npos) {
    codeset = locale.substr(dot + 1);
    locale = locale.substr(0, dot);
  }
  if (!codeset.empty()) {
    const std::optional<CodePage> own = CodePageByName(codeset);
    if (own && own->scheme != CharScheme::kUtf8 && own->windowsId != kAsciiCodePageId) return *own;
  }
  const std::string_view language = locale.substr(0, locale.find('_'));
  for (const LanguageCodePage& entry : kLanguageCodePages) {
    if (entry.language == locale || entry.language == language) return *CodePageById(entry.windowsId);
  }
  return *CodePageById(1252);
}

std::string ShownName(const CodePage& page) {
  switch (page.form) {
    case FileForm::kAsIs:
      break;
    case FileForm::kUtf16Le:
      return "UTF-16LE";
    case FileForm::kUtf16Be:
      return "UTF-16BE";
  }
  return page.name;
}

bool Utf8Judge::Take(std::string_view bytes) {
  if (settled_) return true;
  std::string joined;
  if (!held_.empty()) {
    joined = held_ + std::string(bytes);
    bytes = joined;
    held_.clear();
  }
  if (!started_) {
    if (bytes.size() < kUtf8ByteOrderMark.size() && kUtf8ByteOrderMark.starts_with(bytes)) {
      held_ = std::string(bytes);
      return false;
    }
    started_ = true;
    if (bytes.starts_with(kUtf8ByteOrderMark)) return settled_ = utf8_ = true;
  }
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t length = Utf8Length(bytes, pos);
    if (length > 1) {
      high_ = true;
      pos += length;
      continue;
    }
    if (Utf8Prefix(bytes.substr(pos))) {  // the rest of it comes with the next bytes
      held_ = std::string(bytes.substr(pos));
      return false;
    }
    settled_ = true;
    utf8_ = false;
    return true;
  }
  return false;
}

bool Utf8Judge::IsUtf8() const {
  if (settled_) return utf8_;
  return held_.empty() && high_;  // a file that ends within a character is not UTF-8 text
}

bool IsUtf8Data(std::string_view text) {
  Utf8Judge judge;
  judge.Take(text);
  return judge.IsUtf8();
}

std::size_t CharLength(CharScheme scheme, std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return 1;
  switch (scheme) {
    case CharScheme::kSingleByte:
      return 1;
    case CharScheme::kGbk:
      return DoubleByte(
          text, pos, [](unsigned char b) { return InRange(b, 0x81, 0xFE); },
          [](unsigned char b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFE); });
    case CharScheme::kGb18030:
      if (InRange(lead, 0x81, 0xFE) && pos + 3 < text.size() &&
          InRange(static_cast<unsigned char>(text[pos + 1]), 0x30, 0x39) &&
          InRange(static_cast<unsigned char>(text[pos + 2]), 0x81, 0xFE) &&
          InRange(static_cast<unsigned char>(text[pos + 3]), 0x30, 0x39)) {
        return 4;
      }
      return CharLength(CharScheme::kGbk, text, pos);
    case CharScheme::kBig5:
      return DoubleByte(
          text, pos, [](unsigned char b) { return InRange(b, 0x81, 0xFE); },
          [](unsigned char b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0xA1, 0xFE); });
    case CharScheme::kShiftJis:
      return DoubleByte(
          text, pos, [](unsigned char b) { return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC); },
          [](unsigned char b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFC); });
    case CharScheme::kUhc:
      return DoubleByte(
          text, pos, [](unsigned char b) { return InRange(b, 0x81, 0xFE); },
          [](unsigned char b) {
            return InRange(b, 0x41, 0x5A) || InRange(b, 0x61, 0x7A) || InRange(b, 0x81, 0xFE);
          });
    case CharScheme::kUtf8:
      return Utf8Length(text, pos);
  }
  return 1;
}

}  // namespace kesmaro
