#ifndef KESMARO_UI_QT_FORM_WINDOW_H_
#define KESMARO_UI_QT_FORM_WINDOW_H_

#include "ui/form1.h"
#include "ui/qt/control_window.h"

namespace kesmaro::ui::qt {

/// The six-step window on Qt Widgets.
class FormWindow : public ControlWindow {
 public:
  explicit FormWindow(QWidget* parent = nullptr);

  /// Connects the widgets to `form` and runs `form.Form_Load()`; show the window afterwards.
  void Attach(Form1& form);
};

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_FORM_WINDOW_H_
