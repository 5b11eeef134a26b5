// The real Win32 window, driven with window messages as a user's keys and clicks would drive it,
// with the folder dialog and the message boxes replaced. Runs under Wine with code page 936.

#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "tests/png_file.h"
#include "tests/scratch_folders.h"
#include "tests/win32_window_search.h"
#include "ui/fake_form_host.h"
#include "ui/form1.h"
#include "ui/win32/form_window.h"

namespace kesmaro::ui::win32 {
namespace {

namespace fs = std::filesystem;
using enum ControlId;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = WhyNoRealWindows(); !why.empty()) GTEST_SKIP() << why;
    ASSERT_EQ(GetACP(), 936u) << "the window tests expect a Chinese Windows (code page 936)";
    std::string name;
    codePage_ = *SystemCodePage(&name);
    codec_ = MakeTextCodec(codePage_);
    ASSERT_NE(codec_, nullptr);
    shell_.programFolder = folders_.root;
  }

  void TearDown() override {
    window_.reset();
    form_.reset();
    Pump();
  }

  /// Text of the system code page, as the data files hold it.
  std::string Gbk(const std::wstring& text) { return *codec_->Encode(text); }

  /// A series of GBK files with three header lines and CR LF ends.
  void AddSeries(const std::vector<std::wstring>& names, const std::wstring& rows) {
    for (const std::wstring& name : names) {
      std::ofstream(folders_.data / name, std::ios::binary)
          << Gbk(L"2号分光光度计\r\n波长 吸光度\r\n-----\r\n" + rows);
    }
  }

  void Open() {
    form_ = std::make_unique<Form1>(*window_, shell_, disk_, *codec_, codePage_.scheme);
    ASSERT_TRUE(window_->Create(*form_, SW_SHOWNORMAL));
    Pump();
  }

  /// Lets the window handle what is queued for it, as its message loop would.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  HWND At(ControlId id) const { return window_->Control(id); }

  std::wstring TextOf(ControlId id) const {
    wchar_t buffer[512] = {};
    GetWindowTextW(At(id), buffer, 512);
    return buffer;
  }

  void Type(ControlId id, const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(At(id), WM_CHAR, ch, 1);
    Pump();
  }

  void SelectAllAndType(ControlId id, const std::wstring& text) {
    SendMessageW(At(id), EM_SETSEL, 0, -1);
    Type(id, text);
  }

  void Click(ControlId id) {
    SendMessageW(At(id), BM_CLICK, 0, 0);
    Pump();
  }

  bool ReadOnly(ControlId id) const { return (GetWindowLongW(At(id), GWL_STYLE) & ES_READONLY) != 0; }
  bool Enabled(ControlId id) const { return IsWindowEnabled(At(id)) != FALSE; }

  /// The background the window gives Text3, as the edit box would paint it.
  COLORREF Text3Background() {
    HDC dc = CreateCompatibleDC(nullptr);
    const UINT message = ReadOnly(kText3) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    SendMessageW(window_->Handle(), message, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(At(kText3)));
    const COLORREF colour = GetBkColor(dc);
    DeleteDC(dc);
    return colour;
  }

  /// Chooses the data folder through Command1.
  void ChooseDataFolder() {
    shell_.chosenFolder = folders_.data;
    Click(kCommand1);
  }

  /// The usual way through the window: open it, choose the series, say 3 header lines, type
  /// the key.
  void OpenSeriesAndType(const std::wstring& key) {
    Open();
    ChooseDataFolder();
    SelectAllAndType(kText2, L"3");
    Type(kText3, key);
  }

  ScratchFolders folders_{"kesmaro-window", L"数据"};
  CodePage codePage_;
  std::unique_ptr<TextCodec> codec_;
  DiskFileSystem disk_;
  FakeFormHost shell_;
  std::unique_ptr<FormWindow> window_ = std::make_unique<FormWindow>();
  std::unique_ptr<Form1> form_;
};

constexpr const wchar_t* kRows = L"540.0 0.112\r\n550.0 0.134\r\n551.5 第一 0.2\r\n";

TEST_F(WindowTest, OpensWithTheLayoutAndItsInitialStates) {
  Open();
  wchar_t caption[64] = {};
  GetWindowTextW(window_->Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Kesmaro");

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(window_->Handle(), &client);
  EXPECT_EQ(client.right, MulDiv(6495, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(6450, dpi, 1440));

  EXPECT_EQ(TextOf(kFrame3), L"第4步 选择在第一列中要提取的值");
  EXPECT_EQ(TextOf(kText1), folders_.root.wstring());  // the program's folder, without data files
  EXPECT_EQ(TextOf(kLabel8), L"0");
  EXPECT_EQ(TextOf(kText2), L"0");
  EXPECT_EQ(TextOf(kLabel6), L"还不够精确");
  EXPECT_FALSE(Enabled(kText2));
  EXPECT_TRUE(ReadOnly(kText3));
  EXPECT_EQ(Text3Background(), RGB(0x80, 0x80, 0x80));
  EXPECT_FALSE(Enabled(kCommand2));
  EXPECT_EQ(SendMessageW(At(kOption1), BM_GETCHECK, 0, 0), BST_CHECKED);

  // The program's icon, one of twelve images, on the window (the tests carry the program's
  // resources).
  EXPECT_NE(SendMessageW(window_->Handle(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(window_->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(nullptr, group)));
  EXPECT_EQ(directory[2], 12);  // idReserved, idType, idCount

  // A read-only box takes no typing.
  Type(kText3, L"550");
  EXPECT_EQ(TextOf(kText3), L"");

  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(At(kText3), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"宋体");
  EXPECT_EQ(font.lfCharSet, 134);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfHeight, -MulDiv(12, dpi, 72));
}

TEST_F(WindowTest, TabWalksTheControlsInTheLayoutOrder) {
  AddSeries({L"1.txt"}, kRows);
  OpenSeriesAndType(L"550.0");
  ASSERT_TRUE(Enabled(kCommand2));
  const std::vector<ControlId> expected{kCommand1, kText1,    kText2,   kText3,
                                        kText4,    kCommand2, kOption1, kCommand1};
  HWND current = At(kCommand1);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    current = GetNextDlgTabItem(window_->Handle(), current, FALSE);
    EXPECT_EQ(current, At(expected[i])) << "tab stop " << i << " should be " << Row(expected[i]).name;
  }
}

TEST_F(WindowTest, ChoosingAFolderUnlocksTheBoxesAndTypingChecksTheKey) {
  AddSeries({L"10.txt", L"2.txt", L"1.txt"}, kRows);
  Open();
  ChooseDataFolder();
  EXPECT_EQ(TextOf(kText1), folders_.data.wstring());
  EXPECT_EQ(TextOf(kLabel8), L"3");
  EXPECT_TRUE(Enabled(kText2));
  EXPECT_FALSE(ReadOnly(kText3));
  EXPECT_EQ(Text3Background(), GetSysColor(COLOR_WINDOW));

  SelectAllAndType(kText2, L"3x-.\r");  // the header-line count takes digits only
  EXPECT_EQ(TextOf(kText2), L"3");

  Type(kText3, L"5");
  EXPECT_EQ(TextOf(kLabel6), L"还不够精确");
  EXPECT_FALSE(Enabled(kCommand2));
  Type(kText3, L"51");  // only "551.5 第一 0.2" begins with 551: named up to its last separator
  EXPECT_EQ(TextOf(kLabel6), L"可以执行");
  EXPECT_EQ(TextOf(kText4), L"551.5 第一");
  EXPECT_TRUE(Enabled(kCommand2));
  Type(kText3, L"9");
  EXPECT_EQ(TextOf(kLabel6), L"数值不存在");
  EXPECT_EQ(TextOf(kText4), L"");
  EXPECT_FALSE(Enabled(kCommand2));
}

TEST_F(WindowTest, ExtensionIsReadWhenAFolderIsListed) {
  AddSeries({L"1.txt", L"2.txt"}, kRows);
  AddSeries({L"1.asc"}, kRows);
  Open();
  ChooseDataFolder();
  EXPECT_EQ(TextOf(kLabel8), L"2");
  Click(kOption2);  // the pair switches, and nothing is listed yet
  EXPECT_EQ(SendMessageW(At(kOption1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(At(kOption2), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(TextOf(kLabel8), L"2");
  ChooseDataFolder();
  EXPECT_EQ(TextOf(kLabel8), L"1");
}

TEST_F(WindowTest, RunWritesTheOutputAndShowsTheNotice) {
  AddSeries({L"10.txt", L"2.txt", L"1.txt"}, kRows);
  OpenSeriesAndType(L"551");
  Click(kCommand2);
  EXPECT_EQ(ReadFile(folders_.work / L"551.5 第一.txt"), Gbk(L"1 第一 0.2\r\n2 第一 0.2\r\n10 第一 0.2\r\n"));
  EXPECT_EQ(TextOf(kLabel9), L"...");
  EXPECT_EQ(shell_.notices, std::vector<std::string>{"提示: 处理完成"});
}

TEST_F(WindowTest, FailedRunShowsTheFileAndKeepsTheEarlierOutput) {
  AddSeries({L"1.txt", L"2.txt"}, kRows);
  std::ofstream(folders_.work / "550.0.txt", std::ios::binary) << "earlier";
  OpenSeriesAndType(L"550.0");
  // Another program holds 2.txt open without sharing it.
  HANDLE locked =
      CreateFileW((folders_.data / "2.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Click(kCommand2);
  CloseHandle(locked);
  EXPECT_EQ(ReadFile(folders_.work / "550.0.txt"), "earlier");
  EXPECT_EQ(TextOf(kLabel9), L"...");
  EXPECT_TRUE(shell_.notices.empty());
  ASSERT_EQ(shell_.errors.size(), 1u);
  EXPECT_NE(shell_.errors[0].find("无法打开数据文件"), std::string::npos);
  EXPECT_NE(shell_.errors[0].find("2.txt"), std::string::npos);
  // The cause in the system's words for a Chinese user, not in English.
  const std::size_t cause = shell_.errors[0].find("原因：");
  ASSERT_NE(cause, std::string::npos);
  EXPECT_GE(static_cast<unsigned char>(shell_.errors[0][cause + std::string("原因：").size()]), 0x80u)
      << shell_.errors[0];
}

TEST_F(WindowTest, CancelledDialogAndEmptyFolderKeepTheRunSafe) {
  AddSeries({L"1.txt"}, kRows);
  OpenSeriesAndType(L"550.0");
  ASSERT_TRUE(Enabled(kCommand2));

  shell_.chosenFolder.clear();  // cancelled
  Click(kCommand1);
  EXPECT_EQ(TextOf(kText1), folders_.data.wstring());
  EXPECT_EQ(TextOf(kLabel8), L"1");
  EXPECT_TRUE(Enabled(kCommand2));

  shell_.chosenFolder = folders_.work;  // no data files there
  Click(kCommand1);
  EXPECT_EQ(TextOf(kLabel8), L"0");
  EXPECT_FALSE(Enabled(kText2));
  EXPECT_TRUE(ReadOnly(kText3));
  EXPECT_EQ(Text3Background(), RGB(0x80, 0x80, 0x80));
  EXPECT_FALSE(Enabled(kCommand2));
  EXPECT_EQ(TextOf(kText3), L"550.0");
}

/// The window as the screen shows it, after a folder was chosen and a key typed; saved under
/// the build folder for people to look at.
TEST_F(WindowTest, Screenshot) {
  AddSeries({L"1.txt", L"2.txt", L"3.txt", L"10.txt", L"11.txt", L"12.txt"}, kRows);
  OpenSeriesAndType(L"550.0");
  HWND hwnd = window_->Handle();
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 20; ++i) {
    Pump();
    Sleep(25);
  }

  RECT rect;
  GetWindowRect(hwnd, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();

  // BGRA rows to RGB.
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  const auto* bgra = static_cast<const unsigned char*>(bits);
  for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
    rgb[i * 3] = bgra[i * 4 + 2];
    rgb[i * 3 + 1] = bgra[i * 4 + 1];
    rgb[i * 3 + 2] = bgra[i * 4];
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  // Text3, now editable, shows the window colour right of its text.
  POINT inText3{0, 0};
  RECT text3;
  GetClientRect(At(kText3), &text3);
  inText3.x = text3.right - 4;
  inText3.y = text3.bottom / 2;
  MapWindowPoints(At(kText3), nullptr, &inText3, 1);
  const std::size_t pixel =
      (static_cast<std::size_t>(inText3.y - rect.top) * static_cast<std::size_t>(width) +
       static_cast<std::size_t>(inText3.x - rect.left)) *
      3;
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(RGB(rgb[pixel], rgb[pixel + 1], rgb[pixel + 2]), window);

  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_GE(width, client.right);
  EXPECT_GE(height, client.bottom);

  const fs::path folder = folders_.previous / "screenshots";
  fs::create_directories(folder);
  const fs::path file = folder / "kesmaro-win32.png";
  ASSERT_TRUE(WritePng(file, static_cast<unsigned>(width), static_cast<unsigned>(height), rgb));
  EXPECT_GT(fs::file_size(file), static_cast<std::uintmax_t>(width) * static_cast<std::uintmax_t>(height));
}

}  // namespace
}  // namespace kesmaro::ui::win32
