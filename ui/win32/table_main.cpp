// KesmaroTable.exe: the table window on Windows, several values and measures from every file of a
// series, written as NAME.csv and NAME.svg beside the data and drawn as a chart.
//   KesmaroTable.exe [FOLDER]

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/text_codec.h"
#include "ui/table_form.h"
#include "ui/win32/shell_host.h"
#include "ui/win32/table_window.h"
#include "ui/win32/window_program.h"

int wmain(int argc, wchar_t** argv) {
  using namespace kesmaro;
  constexpr wchar_t kTitle[] = L"Kesmaro 多值提取";
  if (argc > 2) {
    MessageBoxW(nullptr, L"用法：KesmaroTable.exe [文件夹]", kTitle, MB_OK | MB_ICONERROR);
    return 2;
  }
  std::filesystem::path folder;
  if (argc == 2) {  // shown and listed as a whole path, as the folder dialog gives one
    std::wstring whole(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(argv[1], static_cast<DWORD>(whole.size()), whole.data(), nullptr);
    if (length > whole.size()) {
      whole.resize(length);
      length = GetFullPathNameW(argv[1], length, whole.data(), nullptr);
    }
    whole.resize(length);
    folder = length > 0 ? std::filesystem::path(whole) : std::filesystem::path(argv[1]);
  }
  return ui::win32::RunWindowProgram(kTitle,
                                     [&](FileSystem& disk, const TextCodec& codec) -> std::optional<int> {
                                       ui::win32::TableWindow window;
                                       ui::win32::ShellHost host(window);
                                       ui::TableForm form(window, host, disk, codec);
                                       form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
                                       form.StartIn(folder);
                                       if (!window.Create(form, SW_SHOWDEFAULT)) return std::nullopt;
                                       return ui::win32::TableWindow::RunMessageLoop(window.Handle());
                                     });
}
