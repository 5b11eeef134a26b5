#include "ui/win32/form_window.h"

namespace kesmaro::ui::win32 {

using enum ControlId;

FormWindow::FormWindow() : ControlWindow(L"KesmaroForm1", Form1Window(), Form1Layout()) {}

bool FormWindow::Create(Form1& form, int showCommand) {
  Connect(form, Form1Events());
  FilterKeys(kText2, [&form](unsigned key) { return form.Text2_KeyPress(key); });
  if (!CreateWindowAndControls()) return false;
  form.Form_Load();
  Show(showCommand, kCommand1);
  return true;
}

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

}  // namespace kesmaro::ui::win32
