#ifndef KESMARO_UI_WIN32_FORM_WINDOW_H_
#define KESMARO_UI_WIN32_FORM_WINDOW_H_

#include "ui/form1.h"
#include "ui/win32/control_window.h"

namespace kesmaro::ui::win32 {

/// The six-step window on the Win32 API, window class "KesmaroForm1".
class FormWindow : public ControlWindow {
 public:
  FormWindow();

  /// Creates the window and its controls, runs `form.Form_Load()`, then shows the window.
  /// False when the window could not be created.
  bool Create(Form1& form, int showCommand);
};

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_FORM_WINDOW_H_
