#ifndef KESMARO_PLATFORM_PROGRAM_FOLDER_H_
#define KESMARO_PLATFORM_PROGRAM_FOLDER_H_

#include <filesystem>

namespace kesmaro {

/// The folder that holds the running program's executable; empty when the system cannot tell.
std::filesystem::path ProgramFolder();

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_PROGRAM_FOLDER_H_
