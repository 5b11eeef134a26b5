#ifndef KESMARO_UI_NATIVE_TEXT_HOST_H_
#define KESMARO_UI_NATIVE_TEXT_HOST_H_

// The part of the window's surroundings that is the system's own text: the same for both real
// hosts, the screenshot scene and the tests' fake, so it is written once here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/code_page.h"
#include "ui/controls.h"

namespace kesmaro::ui {

/// A FormHost whose paths are the system's own text: shown as UTF-8, typed names read back, and
/// walked in the system's character scheme.
class NativeTextHost : public FormHost {
 public:
  std::string PathToUtf8(const std::filesystem::path& path) const override;
  std::optional<std::filesystem::path> Utf8ToPath(std::string_view text) const override;
  CharScheme PathScheme() const override;
};

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_NATIVE_TEXT_HOST_H_
