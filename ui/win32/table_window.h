#ifndef KESMARO_UI_WIN32_TABLE_WINDOW_H_
#define KESMARO_UI_WIN32_TABLE_WINDOW_H_

#include <optional>

#include "ui/table_form.h"
#include "ui/win32/chart_view.h"
#include "ui/win32/control_window.h"

namespace kesmaro::ui::win32 {

/// The table window on the Win32 API, window class "KesmaroTable", its chart to the right of the
/// steps.
class TableWindow : public ControlWindow {
 public:
  TableWindow();

  /// Creates the window and its controls, runs `form.Form_Load()`, then shows the window.
  /// False when the window could not be created.
  bool Create(TableForm& form, int showCommand);

  /// What the chart view draws; nullopt while it is empty.
  const std::optional<ChartInput>& Chart() const { return chart_.Chart(); }

  void ShowChart(ControlId id, const ChartInput* chart) override;

 protected:
  HWND CreateChart(int dialogId, const RECT& pixels) override;

 private:
  ChartView chart_;
};

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_TABLE_WINDOW_H_
