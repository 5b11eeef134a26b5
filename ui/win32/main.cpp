// Kesmaro.exe: the six-step window on Windows.

#include <windows.h>

#include "platform/text_codec.h"
#include "ui/form1.h"
#include "ui/win32/form_window.h"
#include "ui/win32/shell_host.h"
#include "ui/win32/window_program.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand) {
  using namespace kesmaro;
  return ui::win32::RunWindowProgram(L"Kesmaro",
                                     [&](FileSystem& disk, const TextCodec& codec) -> std::optional<int> {
                                       ui::win32::FormWindow window;
                                       ui::win32::ShellHost host(window);
                                       ui::Form1 form(window, host, disk, codec);
                                       // A series whose first file starts with a UTF-16 mark is read as
                                       // UTF-16.
                                       form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
                                       if (!window.Create(form, showCommand)) return std::nullopt;
                                       return ui::win32::FormWindow::RunMessageLoop(window.Handle());
                                     });
}
