// Kesmaro.exe: the six-step window on Windows.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/disk_file_system.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "ui/form1.h"
#include "ui/win32/form_window.h"
#include "ui/win32/shell_host.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand) {
  using namespace kesmaro;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's folder dialog needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  // Data files, key values and output names are text of the system's code page, or UTF-16.
  const CodePageChoice system = CodePageChoice::System();
  CodePageFailure failure;
  const std::unique_ptr<TextCodec> codec = OpenTextCodec(system, &failure);
  if (!codec) {
    const std::string message = "本程序不支持系统的代码页（" + system.systemName + "）。";
    MessageBoxW(nullptr, FromUtf8(message).value_or(L"").c_str(), L"Kesmaro", MB_OK | MB_ICONERROR);
    return 1;
  }

  DiskFileSystem disk;
  ui::win32::FormWindow window;
  ui::win32::ShellHost host(window);
  ui::Form1 form(window, host, disk, *codec);
  // A series whose first file starts with a UTF-16 mark is read as UTF-16.
  form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
  int exitCode = 1;
  if (window.Create(form, showCommand)) {
    exitCode = ui::win32::FormWindow::RunMessageLoop(window.Handle());
  } else {
    MessageBoxW(nullptr, L"无法创建窗口。", L"Kesmaro", MB_OK | MB_ICONERROR);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
