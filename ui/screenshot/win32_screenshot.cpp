// The Win32 windows' pictures for the README, as the screen shows them with their frames: the
// scene of screenshot_scene.h. Written as a 32-bit BMP;
// scripts/screenshots.sh runs it under Wine and converts the picture to PNG.
//   kesmaro-win32-screenshot [--table] SERIES PICTURE.bmp

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form1.h"
#include "ui/screenshot/screenshot_scene.h"
#include "ui/table_form.h"
#include "ui/win32/form_window.h"
#include "ui/win32/table_window.h"

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

/// Types `ascii` into a box, its lines ended as a Windows edit box ends them.
void Type(HWND box, std::string_view ascii) {
  std::wstring text;
  for (char c : ascii) text += c == '\n' ? std::wstring(L"\r\n") : std::wstring(1, static_cast<wchar_t>(c));
  SetWindowTextW(box, text.c_str());
}

/// Shows the window on top of the others, lets the X server draw it and saves what the screen shows.
bool Save(HWND window, const wchar_t* picture) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 20; ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(25);
  }
  RECT rect;
  GetWindowRect(window, &rect);
  return SaveScreen(rect, picture);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace kesmaro;
  using ui::ControlId;
  const bool table = argc == 4 && std::wstring_view(argv[1]) == L"--table";
  if (argc != 3 && !table) {
    std::fputs("usage: kesmaro-win32-screenshot [--table] SERIES PICTURE.bmp\n", stderr);
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ui::ScreenshotScene scene(argv[table ? 2 : 1]);
  const wchar_t* picture = argv[table ? 3 : 2];
  if (table) {
    ui::win32::TableWindow window;
    ui::TableForm form(window, scene.host, scene.disk, *scene.codec);
    if (!window.Create(form, SW_SHOWNORMAL)) return 1;
    Type(window.Control(ControlId::kSkipBox), ui::ScreenshotScene::kHeaderLines);
    Type(window.Control(ControlId::kItemsBox), ui::ScreenshotScene::kItems);
    for (ControlId click :
         {ControlId::kInterpolateOption, ControlId::kBaselineCheck, ControlId::kExecuteButton})
      SendMessageW(window.Control(click), BM_CLICK, 0, 0);
    return Save(window.Handle(), picture) ? 0 : 1;
  }
  ui::win32::FormWindow window;
  ui::Form1 form(window, scene.host, scene.disk, *scene.codec);
  if (!window.Create(form, SW_SHOWNORMAL)) return 1;
  Type(window.Control(ControlId::kText2), ui::ScreenshotScene::kHeaderLines);
  Type(window.Control(ControlId::kText3), ui::ScreenshotScene::kValue);
  return Save(window.Handle(), picture) ? 0 : 1;
}
