#ifndef KESMARO_PLATFORM_NATIVE_TEXT_HOST_H_
#define KESMARO_PLATFORM_NATIVE_TEXT_HOST_H_

// The part of the window's surroundings that is the system's own text: the same for both real
// hosts, the screenshot scene and the tests' fake, so it is written once here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "ui/controls.h"

namespace kesmaro::ui {

/// A FormHost whose paths are the system's own text: shown as UTF-8, typed names read back, and
/// walked in the system's character scheme.
class NativeTextHost : public FormHost {
 public:
  std::string PathToUtf8(const std::filesystem::path& path) const override {
    return NativeToUtf8(path.native());
  }
  std::optional<std::filesystem::path> Utf8ToPath(std::string_view text) const override {
    return Utf8ToNative(text);
  }
  CharScheme PathScheme() const override { return NativeTextScheme(); }
};

}  // namespace kesmaro::ui

#endif  // KESMARO_PLATFORM_NATIVE_TEXT_HOST_H_
