#include <windows.h>

#include "platform/text_codec.h"
#include "platform/win32_text.h"

namespace kesmaro {
namespace {

class WindowsCodec : public TextCodec {
 public:
  explicit WindowsCodec(const CodePage& page) : TextCodec(page) {}

  std::optional<std::string> Encode(const Native& text) const override {
    return win32::WideToBytes(text, Page().windowsId);
  }
  std::optional<Native> Decode(std::string_view bytes) const override {
    return win32::BytesToWide(bytes, Page().windowsId);
  }
};

}  // namespace

std::optional<CodePage> SystemCodePage(std::string* name) {
  const unsigned id = GetACP();
  *name = "code page " + std::to_string(id);
  return CodePageById(id);
}

bool DataMayChooseUtf8() { return false; }

CharScheme NativeTextScheme() { return CharScheme::kUtf8; }

std::unique_ptr<TextCodec> MakeTextCodec(const CodePage& dataCodePage) {
  if (!IsValidCodePage(dataCodePage.windowsId)) return nullptr;
  return std::make_unique<WindowsCodec>(dataCodePage);
}

}  // namespace kesmaro
