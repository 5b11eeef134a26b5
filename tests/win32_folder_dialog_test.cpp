// The shell's folder dialog as BrowseForFolder shows it, answered from a second thread the way
// a user would answer it.

#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "testing/win32_window_search.h"
#include "ui/win32/browse_for_folder.h"

namespace kesmaro::ui::win32 {
namespace {

/// Waits for a dialog of this process, notes the texts it shows and presses `button`.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(int button) : thread_([this, button] { Answer(button); }) {}
  ~DialogAnswerer() { Join(); }

  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  /// Whether the dialog showed `text` in one of its controls.
  bool Shows(const std::wstring& text) const {
    return std::find(texts_.begin(), texts_.end(), text) != texts_.end();
  }

  bool found = false;

 private:
  void Answer(int button) {
    HWND dialog = WaitForWindow(GetCurrentProcessId(), L"#32770");
    if (dialog == nullptr) return;
    found = true;
    for (HWND child : Children(dialog)) texts_.push_back(TextOf(child));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }

  std::vector<std::wstring> texts_;
  std::thread thread_;
};

class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override {
    if (!IsSkipped()) CoUninitialize();
  }
};

TEST_F(FolderDialogTest, CancelGivesNoFolderAndTheTitleIsShown) {
  for (const std::wstring title : {L"请选择一个文件夹：", L""}) {
    DialogAnswerer answerer(IDCANCEL);
    EXPECT_TRUE(BrowseForFolder(nullptr, title).empty());
    answerer.Join();
    ASSERT_TRUE(answerer.found);
    // An empty title shows the default one.
    EXPECT_TRUE(answerer.Shows(title.empty() ? L"选择目录" : title));
  }
}

TEST_F(FolderDialogTest, OkGivesTheChosenFolderOnDisk) {
  // The dialog opens on the desktop, which is a folder on disk.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  DialogAnswerer answerer(IDOK);
  const std::filesystem::path chosen = BrowseForFolder(nullptr, L"请选择一个文件夹：");
  answerer.Join();
  ASSERT_TRUE(answerer.found);
  EXPECT_EQ(chosen, std::filesystem::path(desktop));
}

}  // namespace
}  // namespace kesmaro::ui::win32
