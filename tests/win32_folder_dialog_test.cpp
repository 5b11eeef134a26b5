// The shell's folder dialog as BrowseForFolder shows it, answered from a second thread the way
// a user would answer it.

#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/win32/browse_for_folder.h"

namespace kesmaro::ui::win32 {
namespace {

/// Waits for a dialog of the given thread, notes the texts it shows and presses `button`.
class DialogAnswerer {
 public:
  DialogAnswerer(DWORD dialogThread, int button)
      : thread_([this, dialogThread, button] { Answer(dialogThread, button); }) {}
  ~DialogAnswerer() { Join(); }

  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  std::vector<std::wstring> texts;
  bool found = false;

 private:
  void Answer(DWORD dialogThread, int button) {
    for (int attempt = 0; attempt < 400 && !found; ++attempt) {
      EnumThreadWindows(dialogThread, FindDialog, reinterpret_cast<LPARAM>(this));
      if (!found) Sleep(50);
    }
    if (!found) return;
    EnumChildWindows(dialog_, CollectText, reinterpret_cast<LPARAM>(this));
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }

  static BOOL CALLBACK FindDialog(HWND window, LPARAM self) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    auto* answerer = reinterpret_cast<DialogAnswerer*>(self);
    answerer->dialog_ = window;
    answerer->found = true;
    return FALSE;
  }

  static BOOL CALLBACK CollectText(HWND window, LPARAM self) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    reinterpret_cast<DialogAnswerer*>(self)->texts.emplace_back(text);
    return TRUE;
  }

  HWND dialog_ = nullptr;
  std::thread thread_;
};

bool Shows(const DialogAnswerer& answerer, const std::wstring& text) {
  for (const std::wstring& shown : answerer.texts) {
    if (shown == text) return true;
  }
  return false;
}

class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(FolderDialogTest, CancelGivesNoFolderAndTheTitleIsShown) {
  for (const std::wstring title : {L"请选择一个文件夹：", L""}) {
    DialogAnswerer answerer(GetCurrentThreadId(), IDCANCEL);
    EXPECT_TRUE(BrowseForFolder(nullptr, title).empty());
    answerer.Join();
    ASSERT_TRUE(answerer.found);
    // An empty title shows the default one.
    EXPECT_TRUE(Shows(answerer, title.empty() ? L"选择目录" : title));
  }
}

TEST_F(FolderDialogTest, OkGivesTheChosenFolderOnDisk) {
  // The dialog opens on the desktop, which is a folder on disk.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  DialogAnswerer answerer(GetCurrentThreadId(), IDOK);
  const std::filesystem::path chosen = BrowseForFolder(nullptr, L"请选择一个文件夹：");
  answerer.Join();
  ASSERT_TRUE(answerer.found);
  EXPECT_EQ(chosen, std::filesystem::path(desktop));
}

}  // namespace
}  // namespace kesmaro::ui::win32
