// Kesmaro.exe as a user meets it: copied beside a series, started there, driven through its
// window from outside, and its notice answered.

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/scratch_folders.h"
#include "testing/win32_window_search.h"
#include "ui/layout.h"
#include "ui/win32/form_window.h"

namespace kesmaro::ui::win32 {
namespace {

namespace fs = std::filesystem;
using enum ControlId;

class KesmaroExeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::absolute(KESMARO_EXE), folders_.data / "Kesmaro.exe");
    for (const auto& entry : fs::directory_iterator(fs::absolute(KESMARO_SAMPLES))) {
      if (entry.path().extension() == ".txt")
        fs::copy_file(entry.path(), folders_.data / entry.path().filename());
    }
  }

  void TearDown() override {
    if (process_.hProcess != nullptr) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 10000);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  /// Starts the program in its folder, as a double click in Explorer does.
  HWND Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + (folders_.data / "Kesmaro.exe").wstring() + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folders_.data.c_str(), &startup, &process_)) {
      return nullptr;
    }
    return WaitForWindow(process_.dwProcessId, L"KesmaroForm1");
  }

  /// data: the program's folder, beside the sample series, where it also writes its output.
  ScratchFolders folders_{"kesmaro-exe", "series"};
  PROCESS_INFORMATION process_{};
};

TEST_F(KesmaroExeTest, ConsolidatesTheSeriesBesideTheProgram) {
  HWND window = Start();
  ASSERT_NE(window, nullptr) << "Kesmaro.exe showed no window";
  const auto control = [window](ControlId id) { return GetDlgItem(window, DialogId(id)); };

  // It lists its own folder at start-up.
  EXPECT_EQ(TextOf(control(kText1)), folders_.data.wstring());
  EXPECT_EQ(TextOf(control(kLabel8)), L"12");

  SendMessageW(control(kText2), EM_SETSEL, 0, -1);
  SendMessageW(control(kText2), WM_CHAR, L'3', 1);
  for (wchar_t ch : std::wstring(L"550.0")) SendMessageW(control(kText3), WM_CHAR, ch, 1);
  ASSERT_TRUE(IsWindowEnabled(control(kCommand2)));

  // The notice is modal, so the click must not wait for it.
  PostMessageW(control(kCommand2), BM_CLICK, 0, 0);
  HWND notice = WaitForWindow(process_.dwProcessId, L"#32770");
  ASSERT_NE(notice, nullptr) << "no notice after the run";
  EXPECT_EQ(TextOf(notice), L"提示");
  int buttons = 0;
  bool saysDone = false;
  for (HWND child : Children(notice)) {
    if (ClassOf(child) == L"Button") ++buttons;
    if (ClassOf(child) == L"Static" && TextOf(child) == L"处理完成") saysDone = true;
    EXPECT_FALSE(ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_ICON) != 0 &&
                 SendMessageW(child, STM_GETICON, 0, 0) != 0)
        << "the notice shows no icon";
  }
  EXPECT_TRUE(saysDone);
  EXPECT_EQ(buttons, 1);
  PostMessageW(notice, WM_COMMAND, IDOK, 0);

  for (int attempt = 0; attempt < 200 && IsWindow(notice); ++attempt) Sleep(50);
  EXPECT_EQ(ReadFile(folders_.data / "550.0.txt"),
            "1 0.1579\r\n2 0.1726\r\n3 0.1915\r\n4 0.2139\r\n5 0.2375\r\n6 0.2601\r\n7 0.2821 0.0012\r\n"
            "8 0.3058\r\n9 0.3336\r\n10 0.3657\r\n11 0.3998 0.0010\r\n12 0.4337\r\n");

  // Closing the window ends the program.
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace kesmaro::ui::win32
