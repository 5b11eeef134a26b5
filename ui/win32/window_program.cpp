#include "ui/win32/window_program.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "platform/disk_file_system.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"

namespace kesmaro::ui::win32 {

int RunWindowProgram(
    std::wstring_view title,
    const std::function<std::optional<int>(FileSystem& disk, const TextCodec& codec)>& open) {
  const std::wstring caption(title);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's folder dialog needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  // Data files, key values and output names are text of the system's code page, or UTF-16.
  const CodePageChoice system = CodePageChoice::System();
  CodePageFailure failure;
  const std::unique_ptr<TextCodec> codec = OpenTextCodec(system, &failure);
  int exitCode = 1;
  if (!codec) {
    const std::string message = "本程序不支持系统的代码页（" + system.systemName + "）。";
    MessageBoxW(nullptr, Utf8ToNative(message).value_or(L"").c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  } else {
    DiskFileSystem disk;
    if (const std::optional<int> code = open(disk, *codec)) {
      exitCode = *code;
    } else {
      MessageBoxW(nullptr, L"无法创建窗口。", caption.c_str(), MB_OK | MB_ICONERROR);
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}

}  // namespace kesmaro::ui::win32
