#include "ui/win32/control_window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "platform/native_text.h"
#include "ui/win32/window_class.h"
#include "ui/wording.h"

namespace kesmaro::ui::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kIconResource = 1;
constexpr int kFirstDialogId = 100;

COLORREF ColourOf(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

/// Window class, style and extended style of a control of the given kind.
struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOf(const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
    case ControlKind::kLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kEditBox: {
      DWORD style = WS_TABSTOP | (row.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL);
      // A line an item, as pasted from a column of a spreadsheet.
      if (row.lines)
        style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL;
      if (row.readOnly) style |= ES_READONLY;
      return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::kOptionButton:
      // The first option button starts the group the pair switches within.
      return {L"BUTTON", BS_AUTORADIOBUTTON | (row.selected ? WS_TABSTOP | WS_GROUP : 0u), 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::kCheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::kChart:  // made by ChartView
      break;
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

int DialogId(ControlId id) { return kFirstDialogId + static_cast<int>(id); }

ControlWindow::~ControlWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (greyBrush_ != nullptr) DeleteObject(greyBrush_);
  if (windowFont_ != nullptr) DeleteObject(windowFont_);
  if (dataFont_ != nullptr) DeleteObject(dataFont_);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool ControlWindow::CreateWindowAndControls() {
  if (!RegisterWindowClass(className_, ObjectWindowProc<ControlWindow>, 0, GetSysColorBrush(COLOR_BTNFACE)))
    return false;

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  RECT frame{0, 0, Px(window_.innerWidth), Px(window_.innerHeight)};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  const std::wstring caption = Utf8ToNative(window_.caption).value_or(L"");
  CreateWindowExW(0, className_, caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, Instance(), this);
  return hwnd_ != nullptr;
}

void ControlWindow::Show(int showCommand, ControlId focus) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  SetFocus(Control(focus));
}

HWND ControlWindow::Control(ControlId id) const { return controls_[Index(id)]; }

int ControlWindow::RunMessageLoop(HWND dialog) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab walk the controls in the layout's tab order.
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int ControlWindow::Px(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }

LRESULT ControlWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
      // Sent, not queued, so it reaches the window while a run pumps its paint messages.
      if (busy_) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY: {
      HWND hwnd = hwnd_;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void ControlWindow::OnCreate() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    windowFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  LOGFONTW data{};
  data.lfHeight = -MulDiv(kDataFont.points, dpi_, 72);
  data.lfWeight = kDataFont.weight;
  data.lfCharSet = static_cast<BYTE>(kDataFont.charSet);
  const std::wstring face = Utf8ToNative(kDataFont.face).value_or(L"");
  face.copy(data.lfFaceName, LF_FACESIZE - 1);
  dataFont_ = CreateFontIndirectW(&data);

  bigIcon_ = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ =
      static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (bigIcon_ != nullptr) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_ != nullptr)
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

  // Created in tab order, which is the order Tab walks them.
  for (const ControlRow& row : rows_) controls_[Index(row.id)] = CreateControl(row);
}

HWND ControlWindow::CreateControl(const ControlRow& row) {
  const TwipRect rect = FormRect(row.id);
  if (row.kind == ControlKind::kChart) {
    const RECT pixels{Px(rect.left), Px(rect.top), Px(rect.left + rect.width), Px(rect.top + rect.height)};
    HWND view = CreateChart(DialogId(row.id), pixels);
    if (view == nullptr) return nullptr;
    const std::wstring name = Utf8ToNative(row.accessible).value_or(L"");
    SetWindowTextW(view, name.c_str());  // what screen readers call it
    return view;
  }
  const ControlClass controlClass = ClassOf(row);
  DWORD style = WS_CHILD | WS_VISIBLE | controlClass.style;
  if (!row.enabled) style |= WS_DISABLED;
  const std::wstring caption = Utf8ToNative(row.caption).value_or(L"");
  HWND control =
      CreateWindowExW(controlClass.exStyle, controlClass.className, caption.c_str(), style, Px(rect.left),
                      Px(rect.top), Px(rect.width), Px(rect.height), hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(row.id))), Instance(), nullptr);
  if (control == nullptr) return nullptr;
  HFONT font = row.dataFont ? dataFont_ : windowFont_;
  if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (row.selected) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  // A column of thousands of values pasted in whole, not cut at the edit box's 32,767 characters.
  if (row.lines) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
  backgrounds_[Index(row.id)] = row.background;
  // Boxes of several lines must not keep Tab to themselves, and some filter what is typed.
  if (row.kind == ControlKind::kEditBox)
    SetWindowSubclass(control, EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
  return control;
}

LRESULT CALLBACK ControlWindow::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*id*/, DWORD_PTR self) {
  return reinterpret_cast<ControlWindow*>(self)->HandleEditMessage(hwnd, message, wParam, lParam);
}

LRESULT ControlWindow::HandleEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      const LRESULT code =
          DefSubclassProc(edit, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      // Enter starts the next line of a box of lines, rather than pressing a button.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                         key->wParam == VK_RETURN;
      const std::optional<ControlId> id = IdOf(edit);
      return enter && id && Row(*id).lines ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_CHAR: {
      const std::optional<ControlId> id = IdOf(edit);
      for (const auto& [box, accept] : keyFilters_) {
        if (id == box && !accept(static_cast<unsigned>(wParam))) return 0;  // the key press is cancelled
      }
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

void ControlWindow::OnCommand(int controlId, int notification) {
  const auto id = static_cast<ControlId>(controlId - kFirstDialogId);
  std::optional<UserEvent> event;
  if (notification == BN_CLICKED) event = UserEvent::kClick;
  if (notification == EN_CHANGE) event = UserEvent::kChange;
  for (const Binding& binding : handlers_) {
    if (binding.control == id && binding.event == event) binding.handler();
  }
}

std::optional<ControlId> ControlWindow::IdOf(HWND control) const {
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  if (control == nullptr || found == controls_.end()) return std::nullopt;
  return static_cast<ControlId>(found - controls_.begin());
}

void ControlWindow::Report(const std::optional<std::string>& failure) {
  if (failure) {
    // A cause that is not UTF-8 (the system's narrow text) is left out.
    const std::wstring text =
        Utf8ToNative(*failure).value_or(Utf8ToNative(wording::kHandlerFailed).value_or(L""));
    MessageBoxW(hwnd_, text.c_str(), Utf8ToNative(wording::kErrorTitle).value_or(L"").c_str(),
                MB_OK | MB_ICONERROR);
  }
}

LRESULT ControlWindow::OnControlColour(UINT message, HDC dc, HWND control) {
  const std::optional<ControlId> id = IdOf(control);
  // Edit boxes keep their background when read-only or disabled, which Windows would paint in
  // the dialog colour: a locked box still looks like a box of text.
  if (!id || Row(*id).kind != ControlKind::kEditBox) {
    return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  const std::size_t index = Index(*id);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  if (backgrounds_[index] == Background::kWindow) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  const COLORREF grey = ColourOf(kGreyRgb);
  SetBkColor(dc, grey);
  if (greyBrush_ == nullptr) greyBrush_ = CreateSolidBrush(grey);
  return reinterpret_cast<LRESULT>(greyBrush_);
}

void ControlWindow::OnDestroy() { PostQuitMessage(0); }

std::string ControlWindow::Text(ControlId id) const {
  HWND control = Control(id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return NativeToUtf8(text);
}

void ControlWindow::SetText(ControlId id, std::string_view text) {
  SetWindowTextW(Control(id), Utf8ToNative(text).value_or(L"").c_str());
}

void ControlWindow::SetEnabled(ControlId id, bool enabled) {
  EnableWindow(Control(id), enabled ? TRUE : FALSE);
}

void ControlWindow::SetReadOnly(ControlId id, bool readOnly) {
  SendMessageW(Control(id), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void ControlWindow::SetBackground(ControlId id, Background background) {
  backgrounds_[Index(id)] = background;
  InvalidateRect(Control(id), nullptr, TRUE);
}

bool ControlWindow::IsSelected(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ControlWindow::ShowChart(ControlId /*id*/, const ChartInput* /*chart*/) {}

HWND ControlWindow::CreateChart(int /*dialogId*/, const RECT& /*pixels*/) { return nullptr; }

void ControlWindow::Repaint() {
  // Only paint messages, for every window of this thread: input stays queued until SetBusy
  // drops it. Looking at the queue also tells Windows the program is alive, so the window is
  // not greyed out as not responding.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) {
    DispatchMessageW(&message);
  }
}

void ControlWindow::SetBusy(bool busy) {
  busy_ = busy;
  if (busy) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));  // kept: no mouse message is handled until the end
    return;
  }
  // What was typed or clicked during the run is dropped, not played back into the window.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));  // until the next mouse move sets the control's own
}

}  // namespace kesmaro::ui::win32
