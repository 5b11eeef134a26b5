#include <gtest/gtest.h>

#include <cstdint>

#include "tests/chart_pixels.h"
#include "ui/win32/chart_view.h"

namespace kesmaro::ui::win32 {
namespace {

std::uint32_t Rgb(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

/// A memory DC on a 32-bit DIB section, which starts black; read back as 0xRRGGBB.
class Bitmap {
 public:
  Bitmap(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  std::uint32_t operator()(int x, int y) const { return Rgb(GetPixel(dc_, x, y)); }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

TEST(Win32ChartTest, ViewIsEmptyUntilAChartIsSetThenFillsItsClientArea) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 700, 500, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ShowWindow(parent, SW_SHOWNOACTIVATE);
  ChartView view;
  ASSERT_TRUE(view.Create(parent, 7, RECT{10, 10, 530, 340}));
  UpdateWindow(parent);
  const Bitmap shot(520, 330);
  SendMessageW(view.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT);
  EXPECT_EQ(shot(5, 5), Rgb(GetSysColor(COLOR_BTNFACE)));

  view.SetChart(ChartWithGap());
  EXPECT_TRUE(GetUpdateRect(view.Handle(), nullptr, FALSE)) << "repaints";
  SendMessageW(view.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT);
  ExpectChartPixels(LayOutChart(*view.Chart(), {520, 330}), shot);
  DestroyWindow(parent);
  EXPECT_EQ(view.Handle(), nullptr);
}

}  // namespace
}  // namespace kesmaro::ui::win32
