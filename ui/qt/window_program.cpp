#include "ui/qt/window_program.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/text/code_page.h"
#include "options/window_options.h"
#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "ui/qt/desktop_host.h"

namespace kesmaro::ui::qt {
namespace {

/// The options' lines of every window program's usage.
constexpr std::string_view kOptionsUsage =
    "  --encoding NAME   the data files' code page (gbk, gb18030, utf-8, utf-16le, utf-16be, big5,\n"
    "                    shift_jis, cp1252, ...); default: UTF-16 for a series whose first file\n"
    "                    starts with a UTF-16 mark, UTF-8 for one whose first file is UTF-8 text,\n"
    "                    otherwise the one Windows uses for the locale's language (GBK for Chinese)\n";

void PrintUsage(const WindowProgram& program, std::FILE* stream) {
  std::fwrite(program.usage.data(), 1, program.usage.size(), stream);
  std::fwrite(kOptionsUsage.data(), 1, kOptionsUsage.size(), stream);
}

int Fail(const WindowProgram& program, const QString& message) {
  std::fprintf(stderr, "%s: %s\n", std::string(program.name).c_str(), message.toLocal8Bit().constData());
  ShowMessageBox(nullptr, QMessageBox::Critical, message.toStdString(), program.title);
  return 1;
}

}  // namespace

int RunWindowProgram(int argc, char** argv, const WindowProgram& program,
                     const std::function<int(const WindowStart&)>& open) {
  // Before Qt, which may move a locale that is not UTF-8 to C.UTF-8.
  CodePageChoice codePage = CodePageChoice::System();
  // Before Qt: help needs no display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintUsage(program, stdout);
      return 0;
    }
  }

  // An output being written when a signal ends the program (the session's end, Ctrl+\\, a file
  // size limit) leaves no temporary file.
  RemoveTemporaryFilesOnInterrupt();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(program.title));
  QApplication::setDesktopFileName(QString::fromUtf8(program.name));
  // Qt's own buttons and dialogs in the user's language; the window's texts are Chinese anyway.
  const std::unique_ptr<QTranslator> qtTranslation = InstallQtTranslation(QLocale::system());

  // What Qt left of the command line is ours, read by kesmaro-cli's rules.
  std::vector<std::string> arguments;
  for (const QString& argument : QApplication::arguments().mid(1))
    arguments.push_back(argument.toStdString());
  const std::optional<options::WindowOptions> options =
      options::ParseWindowCommandLine(arguments, program.takesFolder ? 1 : 0);
  if (!options) {
    PrintUsage(program, stderr);
    return 2;
  }
  codePage.named = options->encoding;

  CodePageFailure failure;
  std::unique_ptr<TextCodec> codec = OpenTextCodec(codePage, &failure);
  // The window hands file names and texts over as UTF-8.
  if (codec && !UseUtf8CharacterType()) failure = CodePageFailure{false, codec->Page().name};
  if (failure.unknown)
    return Fail(program, QString("未知的代码页：%1").arg(QString::fromStdString(failure.name)));
  if (!failure.name.empty())
    return Fail(program, QString("本程序不支持代码页 %1。").arg(QString::fromStdString(failure.name)));

  DiskFileSystem disk;
  std::filesystem::path folder;
  if (!options->folders.empty()) {  // the file system's own bytes for the name, as the dialog gives them
    const QByteArray native = QFile::encodeName(QString::fromStdString(options->folders[0]));
    folder =
        std::filesystem::absolute(std::string(native.constData(), static_cast<std::size_t>(native.size())));
  }
  return open(WindowStart{disk, *codec, codePage.named.has_value(), folder});
}

}  // namespace kesmaro::ui::qt
