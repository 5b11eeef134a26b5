#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/text_codec.h"

namespace kesmaro {
namespace {

/// One iconv conversion; a character without a counterpart fails it.
std::optional<std::string> Convert(const std::string& from, const std::string& to, std::string_view text) {
  if (text.empty()) return std::string();
  iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  if (result != static_cast<std::size_t>(-1)) result = ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  ::iconv_close(cd);
  // A non-zero count means characters were replaced by approximations: not an exact conversion.
  if (result != 0 || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

class IconvCodec : public TextCodec {
 public:
  IconvCodec(std::string native, const CodePage& data) : TextCodec(data), native_(std::move(native)) {}

  std::optional<std::string> Encode(const Native& text) const override {
    return Convert(native_, Page().name, text);
  }
  std::optional<Native> Decode(std::string_view bytes) const override {
    return Convert(Page().name, native_, bytes);
  }

 private:
  std::string native_;
};

/// The codeset of the system's own text. The C and POSIX locales say ASCII, which would fail on
/// every other name; like Python, take their text as UTF-8.
std::string NativeCodeset() {
  const std::string codeset = ::nl_langinfo(CODESET);
  const std::optional<CodePage> known = CodePageByName(codeset);
  return known && known->windowsId == kAsciiCodePageId ? std::string("UTF-8") : codeset;
}

/// The user's locale as the environment names it, whether or not it is installed here.
std::string UserLocale() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "C";
}

}  // namespace

std::optional<CodePage> SystemCodePage(std::string* name) {
  *name = UserLocale();
  return WindowsCodePageForLocale(*name);
}

bool DataMayChooseUtf8() { return true; }

CharScheme NativeTextScheme() {
  const std::optional<CodePage> page = CodePageByName(NativeCodeset());
  return page ? page->scheme : CharScheme::kSingleByte;
}

std::unique_ptr<TextCodec> MakeTextCodec(const CodePage& dataCodePage) {
  std::string native = NativeCodeset();
  for (const auto& [from, to] :
       {std::pair(native, dataCodePage.name), std::pair(dataCodePage.name, native)}) {
    iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    ::iconv_close(cd);
  }
  return std::make_unique<IconvCodec>(std::move(native), dataCodePage);
}

}  // namespace kesmaro
