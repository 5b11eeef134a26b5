#include "ui/native_text_host.h"

#include "platform/native_text.h"
#include "platform/text_codec.h"

namespace kesmaro::ui {

std::string NativeTextHost::PathToUtf8(const std::filesystem::path& path) const {
  return NativeToUtf8(path.native());
}

std::optional<std::filesystem::path> NativeTextHost::Utf8ToPath(std::string_view text) const {
  return Utf8ToNative(text);
}

CharScheme NativeTextHost::PathScheme() const { return NativeTextScheme(); }

}  // namespace kesmaro::ui
