#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/disk_file_system.h"
#include "platform/terminal.h"

int wmain(int argc, wchar_t** argv) {
  kesmaro::RemoveTemporaryFilesOnInterrupt();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(kesmaro::NativeToTerminal(argv[i]));
  kesmaro::DiskFileSystem disk;
  kesmaro::cli::Host host{disk, kesmaro::CodePageChoice::System()};
  return kesmaro::cli::RunAndReport(args, host);
}
