#include "ui/win32/table_window.h"

namespace kesmaro::ui::win32 {

using enum ControlId;

TableWindow::TableWindow() : ControlWindow(L"KesmaroTable", TableFormWindow(), TableFormLayout()) {}

bool TableWindow::Create(TableForm& form, int showCommand) {
  Connect(form, TableFormEvents());
  for (ControlId box : {kSkipBox, kColumnBox}) {
    FilterKeys(box, [&form](unsigned key) { return form.Digits_KeyPress(key); });
  }
  if (!CreateWindowAndControls()) return false;
  form.Form_Load();
  Show(showCommand, kBrowseButton);
  return true;
}

void TableWindow::ShowChart(ControlId /*id*/, const ChartInput* chart) {
  chart_.SetChart(chart ? std::optional<ChartInput>(*chart) : std::nullopt);
}

HWND TableWindow::CreateChart(int dialogId, const RECT& pixels) {
  return chart_.Create(Handle(), dialogId, pixels) ? chart_.Handle() : nullptr;
}

}  // namespace kesmaro::ui::win32
