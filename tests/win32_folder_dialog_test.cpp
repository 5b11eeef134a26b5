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

 private:
  void Answer(int button) {
    HWND dialog = WaitForWindow(GetCurrentProcessId(), L"#32770");
    if (dialog == nullptr) return;
    for (HWND child : Children(dialog)) texts_.push_back(TextOf(child));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }

  std::vector<std::wstring> texts_;
  std::thread thread_;
};

TEST(FolderDialogTest, GivesTheChosenFolderOrNoneAndShowsTheTitle) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  // The dialog opens on the desktop, which is a folder on disk.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  const struct {
    int button;
    std::wstring title, shown;
    std::filesystem::path chosen;
  } cases[] = {{IDCANCEL, L"请选择一个文件夹：", L"请选择一个文件夹：", {}},
               {IDOK, L"", L"选择目录", desktop}};  // an empty title shows the default one
  for (const auto& c : cases) {
    DialogAnswerer answerer(c.button);
    EXPECT_EQ(BrowseForFolder(nullptr, c.title), c.chosen);
    answerer.Join();
    EXPECT_TRUE(answerer.Shows(c.shown)) << c.button;
  }
  CoUninitialize();
}

}  // namespace
}  // namespace kesmaro::ui::win32
