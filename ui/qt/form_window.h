#ifndef KESMARO_UI_QT_FORM_WINDOW_H_
#define KESMARO_UI_QT_FORM_WINDOW_H_

#include <QWidget>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/form_events.h"
#include "ui/layout.h"

namespace kesmaro::ui::qt {

/// The six-step window on Qt Widgets: creates the real widgets from the layout table, each
/// named after its control ("Text3"), and forwards their events to `Form1`'s handlers. It holds
/// no logic of its own.
class FormWindow : public QWidget, public Controls {
 public:
  explicit FormWindow(QWidget* parent = nullptr);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow() override;

  /// Connects the widgets to `form` and runs `form.Form_Load()`; show the window afterwards.
  void Attach(Form1& form);

  /// The real widget; tests drive it with QTest.
  QWidget* Control(ControlId id) const;

  // Controls
  std::string Text(ControlId id) const override;
  void SetText(ControlId id, std::string_view text) override;
  void SetEnabled(ControlId id, bool enabled) override;
  void SetReadOnly(ControlId id, bool readOnly) override;
  void SetBackground(ControlId id, Background background) override;
  bool IsSelected(ControlId id) const override;
  void Repaint() override;
  void SetBusy(bool busy) override;

 protected:
  /// The digit filter of Text2, on typed characters; while busy, drops every user input and
  /// keeps the window from being closed.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// Twips to pixels at the screen's logical DPI; every size and position goes through here.
  int Px(int twips) const;
  QWidget* CreateControl(const ControlRow& row);
  /// Runs a handler of `Form1`; what it throws is shown in an error box.
  void Dispatch(Handler handler);

  Form1* form_ = nullptr;
  bool busy_ = false;
  double dpi_ = 96;
  std::array<QWidget*, kControlCount> controls_{};
};

}  // namespace kesmaro::ui::qt

#endif  // KESMARO_UI_QT_FORM_WINDOW_H_
