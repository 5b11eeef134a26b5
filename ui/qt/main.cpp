// kesmaro: the six-step window on a Linux desktop.
//   kesmaro [--encoding NAME]
// Data files are read in the code page Windows would use for the user's language (GBK under a
// Chinese locale), since they come from Windows instruments, or as UTF-16 or UTF-8 when a
// series' first file is UTF-16 (by its mark) or UTF-8 text; --encoding names another.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "core/code_page.h"
#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "ui/form1.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/form_window.h"

namespace {

constexpr char kUsage[] =
    "usage: kesmaro [--encoding NAME]\n"
    "Opens the Kesmaro window on the program's own folder.\n"
    "  --encoding NAME   the data files' code page (gbk, gb18030, utf-8, utf-16le, utf-16be, big5,\n"
    "                    shift_jis, cp1252, ...); default: UTF-16 for a series whose first file\n"
    "                    starts with a UTF-16 mark, UTF-8 for one whose first file is UTF-8 text,\n"
    "                    otherwise the one Windows uses for the locale's language (GBK for Chinese)\n";

int Fail(const QString& message) {
  std::fprintf(stderr, "kesmaro: %s\n", message.toLocal8Bit().constData());
  kesmaro::ui::qt::ShowMessageBox(nullptr, QMessageBox::Critical, message.toStdString(), "Kesmaro");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kesmaro;
  // Before Qt, which may move a locale that is not UTF-8 to C.UTF-8.
  CodePageChoice codePage = CodePageChoice::System();
  // Before Qt: help needs no display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }

  // An output being written when a signal ends the program (the session's end, Ctrl+\\, a file
  // size limit) leaves no temporary file.
  RemoveTemporaryFilesOnInterrupt();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kesmaro");
  QApplication::setDesktopFileName("kesmaro");
  // Qt's own buttons and dialogs in the user's language; the window's texts are Chinese anyway.
  const std::unique_ptr<QTranslator> qtTranslation = ui::qt::InstallQtTranslation(QLocale::system());

  // What Qt left of the command line is ours.
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "--encoding" && i + 1 < arguments.size()) {
      codePage.named = arguments[++i].toStdString();
    } else if (arguments[i].startsWith("--encoding=")) {
      codePage.named = arguments[i].mid(11).toStdString();
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }

  CodePageFailure failure;
  std::unique_ptr<TextCodec> codec = OpenTextCodec(codePage, &failure);
  // The window hands file names and texts over as UTF-8.
  if (codec && !ui::qt::UseUtf8CharacterType()) failure = CodePageFailure{false, codec->Page().name};
  if (failure.unknown) return Fail(QString("未知的代码页：%1").arg(QString::fromStdString(failure.name)));
  if (!failure.name.empty())
    return Fail(QString("本程序不支持代码页 %1。").arg(QString::fromStdString(failure.name)));

  DiskFileSystem disk;
  ui::qt::FormWindow window;
  ui::qt::DesktopHost host(window);
  ui::Form1 form(window, host, disk, *codec);
  // Unless a code page was named, each series may choose UTF-16 or UTF-8 by its first file.
  if (!codePage.named) form.LetSeriesChooseCodePage(MakeTextCodec, DataMayChooseUtf8());
  window.Attach(form);
  window.show();
  return QApplication::exec();
}
