#ifndef KESMARO_UI_QT_DESKTOP_HOST_H_
#define KESMARO_UI_QT_DESKTOP_HOST_H_

#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/native_text_host.h"

namespace kesmaro::ui::qt {

/// The window's surroundings on a Linux desktop: the executable's folder, Qt's folder dialog
/// and message boxes, all modal to `owner`.
class DesktopHost : public NativeTextHost {
 public:
  explicit DesktopHost(QWidget& owner) : owner_(owner) {}

  std::filesystem::path ProgramFolder() override;
  /// An empty title gives the dialog "选择目录", as the Windows shell's does.
  std::filesystem::path BrowseForFolder(std::string_view title) override;
  void ShowNotice(std::string_view text, std::string_view title) override;
  void ShowError(std::string_view text, std::string_view title) override;

 private:
  QWidget& owner_;
};

/// A modal box with one OK button; the text is shown as plain text. `owner` may be null.
void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, std::string_view text, std::string_view title);

/// Installs Qt's own Chinese ("确定", "取消", the folder dialog) from Qt's translations folder
/// when `locale` is Chinese; it applies while the result lives. Null, and nothing changes, for
/// any other locale or when Qt has no translation installed. The program's own texts are
/// Chinese whatever the locale.
std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale& locale);

/// Gives the C library a UTF-8 character type, as Qt's and the window's texts are, so that the
/// data code page is converted from and to UTF-8. Call after QApplication is made; false when
/// the system has no UTF-8 locale at all.
bool UseUtf8CharacterType();

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_DESKTOP_HOST_H_
