#ifndef KESMARO_UI_SCREENSHOT_SCREENSHOT_SCENE_H_
#define KESMARO_UI_SCREENSHOT_SCREENSHOT_SCENE_H_

// What the README's pictures of the windows show: the window opened on a series, which it finds
// beside the program, read as GBK, with the header lines and the value typed in; for the table
// window, the sample's peak followed across the series and the run made, its chart drawn. The
// screenshot programs beside this file build the real window around it and type the texts.

#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

#include "core/text/code_page.h"
#include "platform/disk_file_system.h"
#include "platform/text_codec.h"
#include "ui/native_text_host.h"

namespace kesmaro::ui {

struct ScreenshotScene {
  /// The window's surroundings in the picture: the series is the program's folder, and no
  /// dialog or notice is ever shown.
  class Host : public NativeTextHost {
   public:
    explicit Host(std::filesystem::path programFolder) : programFolder_(std::move(programFolder)) {}
    std::filesystem::path ProgramFolder() override { return programFolder_; }
    std::filesystem::path BrowseForFolder(std::string_view /*title*/) override { return {}; }
    void ShowNotice(std::string_view /*text*/, std::string_view /*title*/) override {}
    void ShowError(std::string_view /*text*/, std::string_view /*title*/) override {}

   private:
    std::filesystem::path programFolder_;
  };

  explicit ScreenshotScene(std::filesystem::path series) : host(std::move(series)) {}

  /// Typed into Text2 and Text3, so that each fires its change handler.
  static constexpr std::string_view kHeaderLines = "3";
  static constexpr std::string_view kValue = "550.0";
  /// The table window's items, taken with 插值 and 扣除基线: the first band's value at
  /// 520.25 nm, its height and where it sits, and the second band's area.
  static constexpr std::string_view kItems = "520.25\nmax:480:560\narea:580:660";

  std::unique_ptr<TextCodec> codec = MakeTextCodec(*CodePageByName("GBK"));
  DiskFileSystem disk;
  Host host;
};

}  // namespace kesmaro::ui

#endif  // KESMARO_UI_SCREENSHOT_SCREENSHOT_SCENE_H_
