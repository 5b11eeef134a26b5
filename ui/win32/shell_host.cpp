#include "ui/win32/shell_host.h"

#include "platform/native_text.h"
#include "platform/program_folder.h"
#include "ui/win32/browse_for_folder.h"

namespace kesmaro::ui::win32 {

std::filesystem::path ShellHost::ProgramFolder() { return kesmaro::ProgramFolder(); }

std::filesystem::path ShellHost::BrowseForFolder(std::string_view title) {
  return win32::BrowseForFolder(owner_.Handle(), Utf8ToNative(title).value_or(L""));
}

void ShellHost::ShowNotice(std::string_view text, std::string_view title) {
  MessageBoxW(owner_.Handle(), Utf8ToNative(text).value_or(L"").c_str(),
              Utf8ToNative(title).value_or(L"").c_str(), MB_OK);
}

void ShellHost::ShowError(std::string_view text, std::string_view title) {
  MessageBoxW(owner_.Handle(), Utf8ToNative(text).value_or(L"").c_str(),
              Utf8ToNative(title).value_or(L"").c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace kesmaro::ui::win32
