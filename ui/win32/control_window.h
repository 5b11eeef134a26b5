#ifndef KESMARO_UI_WIN32_CONTROL_WINDOW_H_
#define KESMARO_UI_WIN32_CONTROL_WINDOW_H_

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/form_events.h"
#include "ui/layout.h"
#include "ui/win32/window_class.h"

namespace kesmaro::ui::win32 {

/// A window on the Win32 API built from its layout table: creates the real controls and forwards
/// their events to its form logic's handlers. It holds no logic of its own; each window derives
/// from it to connect its form.
class ControlWindow : public Controls {
 public:
  ControlWindow(const wchar_t* className, const WindowLayout& window, std::span<const ControlRow> rows)
      : className_(className), window_(window), rows_(rows) {}
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() override;

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
  /// A window without a chart view has nothing to draw in; the one with a chart overrides this.
  void ShowChart(ControlId id, const ChartInput* chart) override;
  void Repaint() override;
  void SetBusy(bool busy) override;

 protected:
  /// Forwards every event of `events` to its handler on `form`.
  template <typename Form>
  void Connect(Form& form, std::span<const EventRow<Form>> events) {
    for (const EventRow<Form>& row : events) {
      handlers_.push_back({row.control, row.event,
                           [this, &form, handler = row.handler] { Report(RunHandler(form, handler)); }});
    }
  }
  /// Only the characters `accept` takes are typed into `box`.
  void FilterKeys(ControlId box, std::function<bool(unsigned)> accept) {
    keyFilters_.emplace_back(box, std::move(accept));
  }
  /// Creates the window and its controls; false when it could not be created.
  bool CreateWindowAndControls();
  /// Shows the window with the focus on `focus`.
  void Show(int showCommand, ControlId focus);
  /// Creates the child window of a chart row, `pixels` in the client area; null when it could not
  /// be made. The window that has a chart brings its view, so that the others link none.
  virtual HWND CreateChart(int dialogId, const RECT& pixels);

 private:
  struct Binding {
    ControlId control;
    UserEvent event;
    std::function<void()> handler;
  };

  template <typename Window>
  friend LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnCommand(int controlId, int notification);
  /// Answers WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: the backgrounds the form sets.
  LRESULT OnControlColour(UINT message, HDC dc, HWND control);
  void OnDestroy();
  /// What a handler threw, in an error box.
  void Report(const std::optional<std::string>& failure);
  /// The id of a control of this window; nullopt for any other window.
  std::optional<ControlId> IdOf(HWND control) const;

  /// Twips to pixels at the window's DPI; every size and position goes through here.
  int Px(int twips) const;
  HWND CreateControl(const ControlRow& row);

  const wchar_t* className_;
  const WindowLayout& window_;
  std::span<const ControlRow> rows_;
  std::vector<Binding> handlers_;
  std::vector<std::pair<ControlId, std::function<bool(unsigned)>>> keyFilters_;

  HWND hwnd_ = nullptr;
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

/// The dialog control ID of a control, as GetDlgItem takes it. A window's IDs follow its ControlIds,
/// which for the table window are in tab order.
int DialogId(ControlId id);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_CONTROL_WINDOW_H_
