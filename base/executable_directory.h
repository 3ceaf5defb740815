#pragma once

#include <filesystem>

namespace tamrivo {

// The directory that holds the running program's executable (native path); empty when
// the system cannot tell.
std::filesystem::path executableDirectory();

}  // namespace tamrivo
