#ifndef KESMARO_TESTING_FAKE_FORM_HOST_H_
#define KESMARO_TESTING_FAKE_FORM_HOST_H_

// The window's surroundings for tests: a folder dialog that answers what the test chose, and
// notices that are recorded instead of shown.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/native_text_host.h"

namespace kesmaro::ui {

class FakeFormHost : public NativeTextHost {
 public:
  std::filesystem::path ProgramFolder() override { return programFolder; }
  std::filesystem::path BrowseForFolder(std::string_view title) override {
    browseTitles.emplace_back(title);
    return chosenFolder;
  }
  void ShowNotice(std::string_view text, std::string_view title) override {
    notices.push_back(std::string(title) + ": " + std::string(text));
  }
  void ShowError(std::string_view text, std::string_view title) override {
    errors.push_back(std::string(title) + ": " + std::string(text));
  }

  std::filesystem::path programFolder;
  std::filesystem::path chosenFolder;  ///< empty: the user cancels
  std::vector<std::string> browseTitles;
  std::vector<std::string> notices;  ///< "title: text"
  std::vector<std::string> errors;   ///< "title: text"
};

}  // namespace kesmaro::ui

#endif  // KESMARO_TESTING_FAKE_FORM_HOST_H_
