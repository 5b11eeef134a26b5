// The Qt window's picture for the README, drawn without a display: the window opened on a
// series, with 3 header lines and the value 550.0 typed. scripts/screenshots.sh runs it.
//   kesmaro-qt-screenshot SERIES PICTURE.png

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <memory>

#include "core/code_page.h"
#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "ui/fake_form_host.h"
#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"

int main(int argc, char** argv) {
  using namespace kesmaro;
  QApplication app(argc, argv);
  if (argc != 3 || !ui::qt::UseUtf8CharacterType()) {
    std::fputs("usage: kesmaro-qt-screenshot SERIES PICTURE.png (in a UTF-8 locale)\n", stderr);
    return 2;
  }
  const CodePage codePage = *CodePageByName("GBK");
  const std::unique_ptr<TextCodec> codec = MakeTextCodec(codePage);
  DiskFileSystem disk;
  ui::FakeFormHost host;
  host.programFolder = argv[1];
  ui::qt::FormWindow window;
  ui::Form1 form(window, host, disk, *codec);
  window.Attach(form);
  // As typed: each text fires its change handler.
  static_cast<QLineEdit*>(window.Control(ui::ControlId::kText2))->setText("3");
  static_cast<QLineEdit*>(window.Control(ui::ControlId::kText3))->setText("550.0");
  window.show();
  QApplication::processEvents();
  return window.grab().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
