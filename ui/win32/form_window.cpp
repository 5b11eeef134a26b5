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

}  // namespace kesmaro::ui::win32
