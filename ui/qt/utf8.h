#ifndef KESMARO_UI_QT_UTF8_H_
#define KESMARO_UI_QT_UTF8_H_

#include <QString>
#include <string_view>

namespace kesmaro::ui::qt {

/// The window's UTF-8 texts (layout, `Form1`) as Qt's.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_UTF8_H_
