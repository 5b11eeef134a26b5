#include "ui/qt/desktop_host.h"

#include <langinfo.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QString>
#include <QWidget>
#include <clocale>
#include <cstring>

#include "platform/program_folder.h"

namespace kesmaro::ui::qt {

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, std::string_view text, std::string_view title) {
  QMessageBox box(icon, QString::fromUtf8(title), QString::fromUtf8(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);  // file names are shown as they are, never as markup
  box.exec();
}

std::filesystem::path DesktopHost::ProgramFolder() { return kesmaro::ProgramFolder(); }

std::filesystem::path DesktopHost::BrowseForFolder(std::string_view title) {
  const QString caption = title.empty() ? QString("选择目录") : QString::fromUtf8(title);
  const QString folder = QFileDialog::getExistingDirectory(&owner_, caption);
  if (folder.isEmpty()) return {};
  // The file system's own bytes for the name, which a data file's path is built from.
  const QByteArray native = QFile::encodeName(folder);
  return std::filesystem::path(std::string(native.constData(), static_cast<std::size_t>(native.size())));
}

void DesktopHost::ShowNotice(std::string_view text, std::string_view title) {
  ShowMessageBox(&owner_, QMessageBox::NoIcon, text, title);
}

void DesktopHost::ShowError(std::string_view text, std::string_view title) {
  ShowMessageBox(&owner_, QMessageBox::Critical, text, title);
}

std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale& locale) {
  auto translator = std::make_unique<QTranslator>();
  // The window's own texts are Chinese, so Qt's are translated only for Chinese users: a
  // German folder dialog in a Chinese window would help nobody.
  if (locale.language() != QLocale::Chinese) return nullptr;
  const auto load = [&](const QLocale& wanted) {
    return translator->load(wanted, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  };
  // Qt's Chinese is zh_CN (simplified) and zh_TW (traditional): Hong Kong, Macao and Singapore
  // take the one written in their script.
  const QLocale chinese(QLocale::Chinese, locale.script() == QLocale::TraditionalChineseScript
                                              ? QLocale::Taiwan
                                              : QLocale::China);
  const bool loaded = load(locale) || load(chinese);
  if (!loaded || !QCoreApplication::installTranslator(translator.get())) return nullptr;
  return translator;
}

bool UseUtf8CharacterType() {
  const auto utf8 = [] { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; };
  // Qt 6.4 leaves a locale such as zh_CN.GBK as it is, while its file names (QFile::encodeName)
  // and the window's texts are UTF-8 whatever the locale; TextCodec reads the locale's codeset.
  if (!utf8()) std::setlocale(LC_CTYPE, "C.UTF-8");
  return utf8();
}

}  // namespace kesmaro::ui::qt
