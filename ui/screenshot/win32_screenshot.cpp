// The Win32 window's picture for the README, as the screen shows it with its frame: the scene of
// screenshot_scene.h. Written as a 32-bit BMP;
// scripts/screenshots.sh runs it under Wine and converts the picture to PNG.
//   kesmaro-win32-screenshot SERIES PICTURE.bmp

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form1.h"
#include "ui/screenshot/screenshot_scene.h"
#include "ui/win32/form_window.h"

namespace {

/// The screen's pixels under `rect` as a bottom-up 32-bit BMP file.
bool SaveScreen(const RECT& rect, const wchar_t* path) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = rect.right - rect.left;
  info.biHeight = rect.bottom - rect.top;
  info.biPlanes = 1;
  info.biBitCount = 32;
  std::vector<char> pixels(static_cast<std::size_t>(info.biWidth) * static_cast<std::size_t>(info.biHeight) *
                           4);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, info.biWidth, info.biHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, info.biWidth, info.biHeight, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(info.biHeight), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = _wfopen(path, L"wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&info, sizeof info, 1, out) == 1 &&
                       std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && written && rows == info.biHeight;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace kesmaro;
  if (argc != 3) {
    std::fputs("usage: kesmaro-win32-screenshot SERIES PICTURE.bmp\n", stderr);
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ui::ScreenshotScene scene(argv[1]);
  ui::win32::FormWindow window;
  ui::Form1 form(window, scene.host, scene.disk, *scene.codec);
  if (!window.Create(form, SW_SHOWNORMAL)) return 1;
  const auto type = [&window](ui::ControlId id, std::string_view ascii) {
    SetWindowTextW(window.Control(id), std::wstring(ascii.begin(), ascii.end()).c_str());
  };
  type(ui::ControlId::kText2, ui::ScreenshotScene::kHeaderLines);
  type(ui::ControlId::kText3, ui::ScreenshotScene::kValue);
  SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(window.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 20; ++i) {  // let the X server draw what the window sent
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(25);
  }
  RECT rect;
  GetWindowRect(window.Handle(), &rect);
  return SaveScreen(rect, argv[2]) ? 0 : 1;
}
