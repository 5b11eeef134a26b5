#ifndef KESMARO_UI_WIN32_SHELL_HOST_H_
#define KESMARO_UI_WIN32_SHELL_HOST_H_

#include "ui/native_text_host.h"
#include "ui/win32/control_window.h"

namespace kesmaro::ui::win32 {

/// The window's surroundings on Windows: the executable's folder, the shell's folder dialog
/// and message boxes, all modal to the window.
class ShellHost : public NativeTextHost {
 public:
  explicit ShellHost(const ControlWindow& owner) : owner_(owner) {}

  std::filesystem::path ProgramFolder() override;
  std::filesystem::path BrowseForFolder(std::string_view title) override;
  void ShowNotice(std::string_view text, std::string_view title) override;
  void ShowError(std::string_view text, std::string_view title) override;

 private:
  const ControlWindow& owner_;
};

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_SHELL_HOST_H_
