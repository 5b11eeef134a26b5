#ifndef KESMARO_UI_WIN32_FORM_WINDOW_H_
#define KESMARO_UI_WIN32_FORM_WINDOW_H_

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/layout.h"

namespace kesmaro::ui::win32 {

/// The six-step window on the Win32 API: creates the real controls from the layout table and
/// forwards their events to `Form1`'s handlers. It holds no logic of its own.
class FormWindow : public Controls {
 public:
  FormWindow() = default;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow() override;

  /// Creates the window and its controls, runs `form.Form_Load()`, then shows the window.
  /// False when the window could not be created.
  bool Create(Form1& form, int showCommand);

  HWND Handle() const { return hwnd_; }
  /// The real control; tests drive it with window messages.
  HWND Control(ControlId id) const;

  /// Runs the window's messages until it is closed; returns the exit code.
  static int RunMessageLoop(HWND dialog);

  // Controls
  std::string Text(ControlId id) const override;
  void SetText(ControlId id, std::string_view text) override;
  void SetEnabled(ControlId id, bool enabled) override;
  void SetReadOnly(ControlId id, bool readOnly) override;
  void SetBackground(ControlId id, Background background) override;
  bool IsSelected(ControlId id) const override;
  void Repaint() override;
  void SetBusy(bool busy) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnCommand(int controlId, int notification);
  /// Answers WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the backgrounds `Form1` sets.
  LRESULT OnControlColour(UINT message, HDC dc, HWND control);
  void OnDestroy();

  /// Twips to pixels at the window's DPI; every size and position goes through here.
  int Px(int twips) const;
  HWND CreateControl(const ControlRow& row);

  HWND hwnd_ = nullptr;
  Form1* form_ = nullptr;
  bool busy_ = false;  ///< a run is going on: the window is not closed
  int dpi_ = 96;
  HFONT windowFont_ = nullptr;
  HFONT dataFont_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  /// The edit boxes' backgrounds, which the window paints itself.
  std::array<Background, kControlCount> backgrounds_{};
  HBRUSH greyBrush_ = nullptr;
};

/// The dialog control ID of a control, as GetDlgItem takes it.
int DialogId(ControlId id);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_FORM_WINDOW_H_
