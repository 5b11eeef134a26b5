// kesmaro-table: the table window on a Linux desktop, several values and measures from every file
// of a series, written as NAME.csv and NAME.svg beside the data and drawn as a chart.
//   kesmaro-table [--encoding NAME] [FOLDER]
// The data's code page is chosen as kesmaro and kesmaro-cli choose it.

#include <QApplication>

#include "platform/text_codec.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/table_window.h"
#include "ui/qt/window_program.h"
#include "ui/table_form.h"

namespace {

constexpr char kUsage[] =
    "usage: kesmaro-table [--encoding NAME] [FOLDER]\n"
    "Opens the Kesmaro table window on FOLDER, or on the program's own folder.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kesmaro;
  const ui::qt::WindowProgram program{"kesmaro-table", "Kesmaro 多值提取", kUsage, true};
  return ui::qt::RunWindowProgram(argc, argv, program, [](const ui::qt::WindowStart& start) {
    ui::qt::TableWindow window;
    ui::qt::DesktopHost host(window);
    ui::TableForm form(window, host, start.disk, start.codec);
    if (!start.codePageNamed) form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
    form.StartIn(start.folder);
    window.Attach(form);
    window.show();
    return QApplication::exec();
  });
}
