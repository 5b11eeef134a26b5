#include "ui/qt/form_window.h"

namespace kesmaro::ui::qt {

using enum ControlId;

FormWindow::FormWindow(QWidget* parent) : ControlWindow(Form1Window(), Form1Layout(), "Form1", parent) {}

void FormWindow::Attach(Form1& form) {
  FilterKeys(kText2, [&form](unsigned key) { return form.Text2_KeyPress(key); });
  Connect(form, Form1Events(), &Form1::Form_Load);
}

}  // namespace kesmaro::ui::qt
