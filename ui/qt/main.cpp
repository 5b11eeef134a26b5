// kesmaro: the six-step window on a Linux desktop.
//   kesmaro [--encoding NAME]
// Data files are read in the code page Windows would use for the user's language (GBK under a
// Chinese locale), since they come from Windows instruments, or as UTF-16 or UTF-8 when a
// series' first file is UTF-16 (by its mark) or UTF-8 text; --encoding names another.

#include <QApplication>

#include "platform/text_codec.h"
#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"
#include "ui/qt/window_program.h"

namespace {

constexpr char kUsage[] =
    "usage: kesmaro [--encoding NAME]\n"
    "Opens the Kesmaro window on the program's own folder.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kesmaro;
  return ui::qt::RunWindowProgram(argc, argv, {"kesmaro", "Kesmaro", kUsage},
                                  [](const ui::qt::WindowStart& start) {
                                    ui::qt::FormWindow window;
                                    ui::qt::DesktopHost host(window);
                                    ui::Form1 form(window, host, start.disk, start.codec);
                                    // Unless a code page was named, each series may choose UTF-16 or UTF-8 by
                                    // its first file.
                                    if (!start.codePageNamed)
                                      form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
                                    window.Attach(form);
                                    window.show();
                                    return QApplication::exec();
                                  });
}
