// The real Win32 window, driven with window messages as a user's keys and clicks would drive it.
// Runs under Wine, at 96 DPI.

#include <windows.h>
// commctrl.h needs windows.h before it
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "testing/win32_window_search.h"
#include "tests/window_wiring.h"
#include "ui/win32/form_window.h"
#include "ui/win32/table_window.h"

namespace kesmaro::ui::win32 {
namespace {

std::uint32_t Rgb(COLORREF colour) {
  return (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
         GetBValue(colour);
}

/// A user's hands and eyes on a real Win32 window of the fixture `Base`.
template <typename Base, typename Win32Window>
class Win32Harness : public Base {
 protected:
  void TearDown() override {
    DestroyWindow(window_.Handle());
    Pump();
  }

  Controls& Window() override { return window_; }
  void Type(ControlId box, std::string_view keys) override {
    const int end = GetWindowTextLengthW(At(box));
    SendMessageW(At(box), EM_SETSEL, static_cast<WPARAM>(end), end);
    for (char key : keys) SendMessageW(At(box), WM_CHAR, static_cast<WPARAM>(key == '\n' ? '\r' : key), 1);
    Pump();
  }
  void Click(ControlId id) override {
    SendMessageW(At(id), BM_CLICK, 0, 0);
    Pump();
  }
  std::string Shown(ControlId id) override {
    std::string text = NativeToUtf8(TextOf(At(id)));
    std::erase(text, '\r');  // a box of lines ends them in CR LF
    return text;
  }
  bool Enabled(ControlId id) override { return IsWindowEnabled(At(id)) != FALSE; }
  bool ReadOnly(ControlId id) override { return (GetWindowLongW(At(id), GWL_STYLE) & ES_READONLY) != 0; }
  bool Checked(ControlId id) override { return SendMessageW(At(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  /// The background the window gives the box when the box asks how to paint itself.
  std::uint32_t Painted(ControlId id) override {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(window_.Handle(), ReadOnly(id) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                 reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(At(id)));
    const COLORREF colour = GetBkColor(dc);
    DeleteDC(dc);
    return Rgb(colour);
  }
  std::uint32_t WindowColour() override { return Rgb(GetSysColor(COLOR_WINDOW)); }

  HWND At(ControlId id) const { return window_.Control(id); }

  /// Lets the window handle what is queued for it, as its message loop would.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  /// Each control where its window's table puts it at 96 DPI, its dialog ID that of its place in
  /// tab order, and the data font where the table says.
  void ExpectLaidOut(const WindowLayout& layout, std::span<const ControlRow> rows) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    const auto px = [](int twips) { return LONG{twips * 96 / kTwipsPerInch}; };
    EXPECT_EQ(NativeToUtf8(TextOf(window_.Handle())), layout.caption);
    RECT rect;
    GetClientRect(window_.Handle(), &rect);
    EXPECT_EQ(std::vector<LONG>({rect.right, rect.bottom}),
              std::vector<LONG>({px(layout.innerWidth), px(layout.innerHeight)}));
    for (const ControlRow& row : rows) {
      GetWindowRect(At(row.id), &rect);
      MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
      const TwipRect twips = FormRect(row.id);
      EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
                std::vector<LONG>({px(twips.left), px(twips.top), px(twips.width), px(twips.height)}))
          << row.name;
      EXPECT_EQ(GetDlgItem(window_.Handle(), DialogId(row.id)), At(row.id)) << row.name;
      if (!row.dataFont) continue;
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(At(row.id), WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_EQ(NativeToUtf8(font.lfFaceName), kDataFont.face) << row.name;
      EXPECT_EQ(std::vector<LONG>({font.lfHeight, font.lfWeight, font.lfCharSet}),
                std::vector<LONG>({-kDataFont.points * 96 / 72, kDataFont.weight, kDataFont.charSet}))
          << row.name;
    }
  }

  Win32Window window_;
};

class Win32WindowTest : public Win32Harness<WindowWiringTest, FormWindow> {
 protected:
  void Attach(Form1& form) override {
    ASSERT_TRUE(window_.Create(form, SW_SHOWNORMAL));
    Pump();
  }
};

class Win32TableWindowTest : public Win32Harness<TableWiringTest, TableWindow> {
 protected:
  void Attach(TableForm& form) override {
    ASSERT_TRUE(window_.Create(form, SW_SHOWNORMAL));
    Pump();
  }
  bool ChartShown(ControlId /*id*/) override { return window_.Chart().has_value(); }
};

TEST_F(Win32TableWindowTest, EachHandlerFiresAndEachControlsCallReachesItsControl) { RunWiringTable(); }

TEST_F(Win32TableWindowTest, CaptionSizeAndIdsInTabOrderAt96Dpi) {
  Do(kWiring[0]);
  ExpectLaidOut(TableFormWindow(), TableFormLayout());
  wchar_t className[32] = {};
  GetClassNameW(window_.Handle(), className, 32);
  EXPECT_EQ(std::wstring(className), L"KesmaroTable");
  EXPECT_GT(static_cast<DWORD>(SendMessageW(At(kItemsBox), EM_GETLIMITTEXT, 0, 0)), DWORD{1} << 20)
      << "a whole column pasted in";
  // Tab walks the controls that are enabled without data files in the order of their IDs.
  HWND current = At(kBrowseButton);
  for (ControlId next : {kExactOption, kBaselineCheck, kDecimalCommaCheck, kColumnBox, kNameBox, kTxtOption,
                         kFolderBox, kBrowseButton}) {
    current = GetNextDlgTabItem(window_.Handle(), current, FALSE);
    EXPECT_EQ(current, At(next)) << "expected " << Row(next).name;
  }
}

TEST_F(Win32WindowTest, EachHandlerFiresAndEachControlsCallReachesItsControl) { RunWiringTable(); }

TEST_F(Win32WindowTest, CaptionSizeFontAndIconAt96Dpi) {
  Do(kWiring[0]);
  ExpectLaidOut(Form1Window(), Form1Layout());

  // The program's icon, with every image of the build's kesmaro.ico, on the window (the tests
  // carry the program's resources).
  EXPECT_NE(SendMessageW(window_.Handle(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(window_.Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  const std::string ico = ReadFile(std::filesystem::absolute(KESMARO_ICO));
  ASSERT_GE(ico.size(), 6u) << KESMARO_ICO;
  const auto images =
      static_cast<WORD>(static_cast<unsigned char>(ico[4]) | static_cast<unsigned char>(ico[5]) << 8);
  HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(static_cast<const WORD*>(LockResource(LoadResource(nullptr, group)))[2], images);  // idCount
}

/// Calls `*data` after a window's text is set, on the window's thread.
LRESULT CALLBACK AfterSetText(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                              DWORD_PTR data) {
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == WM_SETTEXT) (*reinterpret_cast<const std::function<void()>*>(data))();
  return result;
}

TEST_F(Win32WindowTest, RunPaintsWhatTheSystemAsksForMeanwhile) {
  OpenSeriesAndType();
  // As each step of the progress is shown, a mark is drawn in the corner of Label7, which the run
  // leaves as it is, and the corner is uncovered, as by a window moved off it: by the next step it
  // has been painted over the mark. Other windows that uncover it meanwhile, as in tests run side
  // by side, only have it painted once more. The files are read on other threads; the steps are
  // shown on the window's.
  std::vector<std::string> seen;
  const std::function<void()> shown = [&] {
    const std::string text = Shown(kLabel9);
    if (text.rfind("运行中...", 0) != 0) return;
    HDC dc = GetDC(At(kLabel7));
    constexpr COLORREF kMark = RGB(255, 0, 255);
    seen.push_back(text + (GetPixel(dc, 0, 0) == kMark ? " not painted" : ""));
    SetPixel(dc, 0, 0, kMark);
    ReleaseDC(At(kLabel7), dc);
    const RECT corner{0, 0, 1, 1};
    InvalidateRect(At(kLabel7), &corner, TRUE);
  };
  ASSERT_TRUE(SetWindowSubclass(At(kLabel9), AfterSetText, 1, reinterpret_cast<DWORD_PTR>(&shown)));
  Click(kCommand2);
  RemoveWindowSubclass(At(kLabel9), AfterSetText, 1);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"运行中... 0/3", "运行中... 1/3", "运行中... 2/3", "运行中... 3/3"}));
}

TEST_F(Win32WindowTest, TabWalksTheControlsInTheLayoutOrder) {
  OpenSeriesAndType();
  HWND current = At(kCommand1);
  for (ControlId next : {kText1, kText2, kText3, kText4, kCommand2, kOption1, kCommand1}) {
    current = GetNextDlgTabItem(window_.Handle(), current, FALSE);
    EXPECT_EQ(current, At(next)) << "expected " << Row(next).name;
  }
}

}  // namespace
}  // namespace kesmaro::ui::win32
