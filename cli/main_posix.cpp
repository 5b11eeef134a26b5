#include <clocale>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/disk_file_system.h"

int main(int argc, char** argv) {
  // The locale's codeset is both the terminal's text and the default data code page.
  std::setlocale(LC_CTYPE, "");
  kesmaro::RemoveTemporaryFilesOnInterrupt();
  kesmaro::DiskFileSystem disk;
  kesmaro::cli::Host host{disk, kesmaro::CodePageChoice::System()};
  return kesmaro::cli::RunAndReport(std::vector<std::string>(argv + 1, argv + argc), host);
}
