#include "ui/qt/table_window.h"

#include <optional>

#include "ui/qt/chart_view.h"

namespace kesmaro::ui::qt {

using enum ControlId;

TableWindow::TableWindow(QWidget* parent)
    : ControlWindow(TableFormWindow(), TableFormLayout(), "TableForm", parent,
                    [](QWidget* window) -> QWidget* { return new ChartView(window); }) {}

void TableWindow::Attach(TableForm& form) {
  for (ControlId box : {kSkipBox, kColumnBox}) {
    FilterKeys(box, [&form](unsigned key) { return form.Digits_KeyPress(key); });
  }
  Connect(form, TableFormEvents(), &TableForm::Form_Load);
}

void TableWindow::ShowChart(ControlId id, const ChartInput* chart) {
  static_cast<ChartView*>(Control(id))->SetChart(chart ? std::optional<ChartInput>(*chart) : std::nullopt);
}

}  // namespace kesmaro::ui::qt
