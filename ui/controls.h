#ifndef KESMARO_UI_CONTROLS_H_
#define KESMARO_UI_CONTROLS_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/code_page.h"
#include "ui/layout.h"

namespace kesmaro {
struct ChartInput;  ///< chart/chart_layout.h, which only the table window links
}  // namespace kesmaro

namespace kesmaro::ui {

/// A window's controls as its form logic (`Form1`, `TableForm`) reads and writes them. Each window
/// backend implements it on its real controls; tests implement it on plain values. Texts are UTF-8.
class Controls {
 public:
  virtual ~Controls() = default;

  /// The text of an edit box or the caption of any other control.
  virtual std::string Text(ControlId id) const = 0;
  /// Sets a text or caption. Setting the text of an edit box runs no handler of `Form1`.
  virtual void SetText(ControlId id, std::string_view text) = 0;
  virtual void SetEnabled(ControlId id, bool enabled) = 0;
  virtual void SetReadOnly(ControlId id, bool readOnly) = 0;
  virtual void SetBackground(ControlId id, Background background) = 0;
  /// Whether an option button is selected, or a check box checked.
  virtual bool IsSelected(ControlId id) const = 0;
  /// Draws `chart` in a chart view, laid out at the view's size; null leaves the view empty.
  virtual void ShowChart(ControlId id, const ChartInput* chart) = 0;
  /// In a long step that does not return to the event loop: paints what has changed now and
  /// lets the window answer the system (painting, not input), so it is not taken for hung.
  virtual void Repaint() = 0;
  /// While busy the window takes no input: what the user types or clicks meanwhile is dropped,
  /// so nothing can change a run's inputs or start another one.
  virtual void SetBusy(bool busy) = 0;
};

/// What a window's form logic takes from the system around the window.
class FormHost {
 public:
  virtual ~FormHost() = default;

  /// The folder that holds the program; empty when the system cannot tell.
  virtual std::filesystem::path ProgramFolder() = 0;
  /// Asks the user for a folder through the system's folder dialog, modal to the window;
  /// empty when the user cancels.
  virtual std::filesystem::path BrowseForFolder(std::string_view title) = 0;
  /// A modal notice with one OK button and no icon.
  virtual void ShowNotice(std::string_view text, std::string_view title) = 0;
  /// A modal error notice with one OK button.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
  /// A path as the UTF-8 text the window shows.
  virtual std::string PathToUtf8(const std::filesystem::path& path) const = 0;
  /// Typed UTF-8 text as a path; nullopt when the system's text cannot hold it.
  virtual std::optional<std::filesystem::path> Utf8ToPath(std::string_view text) const = 0;
  /// How the system's own text groups into characters, which the checks of a typed output name
  /// walk character by character.
  virtual CharScheme PathScheme() const = 0;
};

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_CONTROLS_H_
