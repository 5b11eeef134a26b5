#include "ui/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "platform/native_text.h"
#include "ui/form_events.h"
#include "ui/wording.h"

namespace kesmaro::ui::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KesmaroForm1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kIconResource = 1;
constexpr int kFirstDialogId = 100;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

COLORREF ColourOf(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

bool RegisterWindowClass(WNDPROC windowProc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(Instance(), kClassName, &windowClass)) return true;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

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
      if (row.readOnly) style |= ES_READONLY;
      return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::kOptionButton:
      // The first option button starts the group the pair switches within.
      return {L"BUTTON", BS_AUTORADIOBUTTON | (row.selected ? WS_TABSTOP | WS_GROUP : 0u), 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

int DialogId(ControlId id) { return kFirstDialogId + static_cast<int>(id); }

FormWindow::~FormWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (greyBrush_ != nullptr) DeleteObject(greyBrush_);
  if (windowFont_ != nullptr) DeleteObject(windowFont_);
  if (dataFont_ != nullptr) DeleteObject(dataFont_);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool FormWindow::Create(Form1& form, int showCommand) {
  form_ = &form;
  if (!RegisterWindowClass(WindowProc)) return false;

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  const WindowLayout& row = Form1Window();
  RECT frame{0, 0, Px(row.innerWidth), Px(row.innerHeight)};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  const std::wstring caption = Utf8ToNative(row.caption).value_or(L"");
  CreateWindowExW(0, kClassName, caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, Instance(), this);
  if (hwnd_ == nullptr) return false;

  form.Form_Load();
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  SetFocus(Control(ControlId::kCommand1));
  return true;
}

HWND FormWindow::Control(ControlId id) const { return controls_[Index(id)]; }

int FormWindow::RunMessageLoop(HWND dialog) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab walk the controls in the layout's tab order.
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int FormWindow::Px(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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

void FormWindow::OnCreate() {
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
  for (const ControlRow& row : Form1Layout()) controls_[Index(row.id)] = CreateControl(row);
}

HWND FormWindow::CreateControl(const ControlRow& row) {
  const ControlClass controlClass = ClassOf(row);
  DWORD style = WS_CHILD | WS_VISIBLE | controlClass.style;
  if (!row.enabled) style |= WS_DISABLED;
  const TwipRect rect = FormRect(row.id);
  const std::wstring caption = Utf8ToNative(row.caption).value_or(L"");
  HWND control =
      CreateWindowExW(controlClass.exStyle, controlClass.className, caption.c_str(), style, Px(rect.left),
                      Px(rect.top), Px(rect.width), Px(rect.height), hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(row.id))), Instance(), nullptr);
  if (control == nullptr) return nullptr;
  HFONT font = row.dataFont ? dataFont_ : windowFont_;
  if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (row.selected) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  backgrounds_[Index(row.id)] = row.background;
  // Text1 (two lines high) must not keep Tab to itself; Text2 filters what is typed.
  if (row.id == ControlId::kText1 || row.id == ControlId::kText2) {
    SetWindowSubclass(control, EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  return control;
}

LRESULT CALLBACK FormWindow::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                      DWORD_PTR self) {
  return reinterpret_cast<FormWindow*>(self)->HandleEditMessage(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::HandleEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DefSubclassProc(edit, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    case WM_CHAR:
      if (edit == Control(ControlId::kText2) && form_ != nullptr &&
          !form_->Text2_KeyPress(static_cast<unsigned>(wParam))) {
        return 0;  // the key press is cancelled
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

void FormWindow::OnCommand(int controlId, int notification) {
  if (form_ == nullptr) return;
  const auto id = static_cast<ControlId>(controlId - kFirstDialogId);
  std::optional<UserEvent> event;
  if (notification == BN_CLICKED) event = UserEvent::kClick;
  if (notification == EN_CHANGE) event = UserEvent::kChange;
  const Handler handler = event ? HandlerOf(id, *event) : nullptr;
  if (handler == nullptr) return;
  if (const std::optional<std::string> failure = RunHandler(*form_, handler)) {
    // A cause that is not UTF-8 (the system's narrow text) is left out.
    const std::wstring text =
        Utf8ToNative(*failure).value_or(Utf8ToNative(wording::kHandlerFailed).value_or(L""));
    MessageBoxW(hwnd_, text.c_str(), Utf8ToNative(wording::kErrorTitle).value_or(L"").c_str(),
                MB_OK | MB_ICONERROR);
  }
}

LRESULT FormWindow::OnControlColour(UINT message, HDC dc, HWND control) {
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  const auto index = static_cast<std::size_t>(found - controls_.begin());
  // Edit boxes keep their background when read-only or disabled, which Windows would paint in
  // the dialog colour: a locked box still looks like a box of text.
  if (found == controls_.end() || Row(static_cast<ControlId>(index)).kind != ControlKind::kEditBox) {
    return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
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

void FormWindow::OnDestroy() { PostQuitMessage(0); }

std::string FormWindow::Text(ControlId id) const {
  HWND control = Control(id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return NativeToUtf8(text);
}

void FormWindow::SetText(ControlId id, std::string_view text) {
  SetWindowTextW(Control(id), Utf8ToNative(text).value_or(L"").c_str());
}

void FormWindow::SetEnabled(ControlId id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void FormWindow::SetReadOnly(ControlId id, bool readOnly) {
  SendMessageW(Control(id), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void FormWindow::SetBackground(ControlId id, Background background) {
  backgrounds_[Index(id)] = background;
  InvalidateRect(Control(id), nullptr, TRUE);
}

bool FormWindow::IsSelected(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormWindow::Repaint() {
  // Only paint messages, for every window of this thread: input stays queued until SetBusy
  // drops it. Looking at the queue also tells Windows the program is alive, so the window is
  // not greyed out as not responding.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) {
    DispatchMessageW(&message);
  }
}

void FormWindow::SetBusy(bool busy) {
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
