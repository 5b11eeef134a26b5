// The Qt windows' pictures for the README, drawn without a display: the scene of
// screenshot_scene.h. scripts/screenshots.sh runs it.
//   kesmaro-qt-screenshot [--table] SERIES PICTURE.png

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstring>

#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"
#include "ui/qt/table_window.h"
#include "ui/screenshot/screenshot_scene.h"
#include "ui/table_form.h"

namespace {

using kesmaro::ui::ControlId;

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool Save(QWidget& window, const char* picture) {
  window.show();
  QApplication::processEvents();
  return window.grab().save(QString::fromLocal8Bit(picture), "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kesmaro;
  QApplication app(argc, argv);
  const bool table = argc == 4 && std::strcmp(argv[1], "--table") == 0;
  if ((argc != 3 && !table) || !ui::qt::UseUtf8CharacterType()) {
    std::fputs("usage: kesmaro-qt-screenshot [--table] SERIES PICTURE.png (in a UTF-8 locale)\n", stderr);
    return 2;
  }
  ui::ScreenshotScene scene(argv[table ? 2 : 1]);
  const char* picture = argv[table ? 3 : 2];
  if (table) {
    ui::qt::TableWindow window;
    ui::TableForm form(window, scene.host, scene.disk, *scene.codec);
    window.Attach(form);
    static_cast<QLineEdit*>(window.Control(ControlId::kSkipBox))
        ->setText(Latin1(ui::ScreenshotScene::kHeaderLines));
    static_cast<QPlainTextEdit*>(window.Control(ControlId::kItemsBox))
        ->setPlainText(Latin1(ui::ScreenshotScene::kItems));
    for (ControlId click :
         {ControlId::kInterpolateOption, ControlId::kBaselineCheck, ControlId::kExecuteButton})
      static_cast<QAbstractButton*>(window.Control(click))->click();
    return Save(window, picture) ? 0 : 1;
  }
  ui::qt::FormWindow window;
  ui::Form1 form(window, scene.host, scene.disk, *scene.codec);
  window.Attach(form);
  const auto type = [&window](ControlId id, std::string_view text) {
    static_cast<QLineEdit*>(window.Control(id))->setText(Latin1(text));
  };
  type(ControlId::kText2, ui::ScreenshotScene::kHeaderLines);
  type(ControlId::kText3, ui::ScreenshotScene::kValue);
  return Save(window, picture) ? 0 : 1;
}
