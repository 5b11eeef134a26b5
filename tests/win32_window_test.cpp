// The real Win32 window, driven with window messages as a user's keys and clicks would drive it.
// Runs under Wine, at 96 DPI.

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "testing/win32_window_search.h"
#include "tests/window_wiring.h"
#include "ui/win32/form_window.h"

namespace kesmaro::ui::win32 {
namespace {

std::uint32_t Rgb(COLORREF colour) {
  return (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
         GetBValue(colour);
}

class Win32WindowTest : public WindowWiringTest {
 protected:
  void TearDown() override {
    DestroyWindow(window_.Handle());
    Pump();
  }

  Controls& Window() override { return window_; }
  void Attach(Form1& form) override {
    ASSERT_TRUE(window_.Create(form, SW_SHOWNORMAL));
    Pump();
  }
  void Type(ControlId box, std::string_view keys) override {
    const int end = GetWindowTextLengthW(At(box));
    SendMessageW(At(box), EM_SETSEL, static_cast<WPARAM>(end), end);
    for (char key : keys) SendMessageW(At(box), WM_CHAR, static_cast<WPARAM>(key), 1);
    Pump();
  }
  void Click(ControlId id) override {
    SendMessageW(At(id), BM_CLICK, 0, 0);
    Pump();
  }
  std::string Shown(ControlId id) override { return NativeToUtf8(TextOf(At(id))); }
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

  FormWindow window_;
};

TEST_F(Win32WindowTest, EachHandlerFiresAndEachControlsCallReachesItsControl) { RunWiringTable(); }

TEST_F(Win32WindowTest, CaptionSizeFontAndIconAt96Dpi) {
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  ReleaseDC(nullptr, screen);
  Do(kWiring[0]);
  const auto px = [](int twips) { return LONG{twips * 96 / kTwipsPerInch}; };
  EXPECT_EQ(NativeToUtf8(TextOf(window_.Handle())), Form1Window().caption);
  RECT rect;
  GetClientRect(window_.Handle(), &rect);
  EXPECT_EQ(std::vector<LONG>({rect.right, rect.bottom}),
            std::vector<LONG>({px(Form1Window().innerWidth), px(Form1Window().innerHeight)}));
  for (const ControlRow& row : Form1Layout()) {
    GetWindowRect(At(row.id), &rect);
    MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const TwipRect twips = FormRect(row.id);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              std::vector<LONG>({px(twips.left), px(twips.top), px(twips.width), px(twips.height)}))
        << row.name;
    if (!row.dataFont) continue;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(At(row.id), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(NativeToUtf8(font.lfFaceName), kDataFont.face) << row.name;
    EXPECT_EQ(std::vector<LONG>({font.lfHeight, font.lfWeight, font.lfCharSet}),
              std::vector<LONG>({-kDataFont.points * 96 / 72, kDataFont.weight, kDataFont.charSet}))
        << row.name;
  }

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

TEST_F(Win32WindowTest, RunPaintsWhatTheSystemAsksForMeanwhile) {
  OpenSeriesAndType();
  // As each file is opened, a mark is drawn in the corner of Label7, which the run leaves as it is,
  // and the corner is uncovered, as by a window moved off it: by the next file it has been painted
  // over the mark. Other windows that uncover it meanwhile, as in tests run side by side, only
  // have it painted once more.
  std::vector<std::string> seen;
  disk_.onOpen = [&] {
    HDC dc = GetDC(At(kLabel7));
    constexpr COLORREF kMark = RGB(255, 0, 255);
    seen.push_back(Shown(kLabel9) + (GetPixel(dc, 0, 0) == kMark ? " not painted" : ""));
    SetPixel(dc, 0, 0, kMark);
    ReleaseDC(At(kLabel7), dc);
    const RECT corner{0, 0, 1, 1};
    InvalidateRect(At(kLabel7), &corner, TRUE);
  };
  Click(kCommand2);
  EXPECT_EQ(seen, (std::vector<std::string>{"运行中... 0/3", "运行中... 1/3", "运行中... 2/3"}));
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
