#ifndef KESMARO_UI_QT_TABLE_WINDOW_H_
#define KESMARO_UI_QT_TABLE_WINDOW_H_

#include "ui/qt/control_window.h"
#include "ui/table_form.h"

namespace kesmaro::ui::qt {

/// The table window on Qt Widgets, its chart to the right of the steps.
class TableWindow : public ControlWindow {
 public:
  explicit TableWindow(QWidget* parent = nullptr);

  /// Connects the widgets to `form` and runs `form.Form_Load()`; show the window afterwards.
  void Attach(TableForm& form);

  void ShowChart(ControlId id, const ChartInput* chart) override;
};

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_TABLE_WINDOW_H_
