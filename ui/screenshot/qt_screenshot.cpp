// The Qt window's picture for the README, drawn without a display: the scene of
// screenshot_scene.h. scripts/screenshots.sh runs it.
//   kesmaro-qt-screenshot SERIES PICTURE.png

#include <QApplication>
#include <QLineEdit>
#include <cstdio>

#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"
#include "ui/screenshot/screenshot_scene.h"

int main(int argc, char** argv) {
  using namespace kesmaro;
  QApplication app(argc, argv);
  if (argc != 3 || !ui::qt::UseUtf8CharacterType()) {
    std::fputs("usage: kesmaro-qt-screenshot SERIES PICTURE.png (in a UTF-8 locale)\n", stderr);
    return 2;
  }
  ui::ScreenshotScene scene(argv[1]);
  ui::qt::FormWindow window;
  ui::Form1 form(window, scene.host, scene.disk, *scene.codec);
  window.Attach(form);
  const auto type = [&window](ui::ControlId id, std::string_view text) {
    static_cast<QLineEdit*>(window.Control(id))
        ->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  };
  type(ui::ControlId::kText2, ui::ScreenshotScene::kHeaderLines);
  type(ui::ControlId::kText3, ui::ScreenshotScene::kValue);
  window.show();
  QApplication::processEvents();
  return window.grab().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
