#include "ui/win32/shell_host.h"

#include "platform/program_folder.h"
#include "ui/win32/browse_for_folder.h"
#include "ui/win32/wide_text.h"

namespace kesmaro::ui::win32 {

std::filesystem::path ShellHost::ProgramFolder() { return kesmaro::ProgramFolder(); }

std::filesystem::path ShellHost::BrowseForFolder(std::string_view title) {
  return win32::BrowseForFolder(owner_.Handle(), Wide(title));
}

void ShellHost::ShowNotice(std::string_view text, std::string_view title) {
  MessageBoxW(owner_.Handle(), Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

void ShellHost::ShowError(std::string_view text, std::string_view title) {
  MessageBoxW(owner_.Handle(), Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace kesmaro::ui::win32
