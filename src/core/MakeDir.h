#pragma once
// Making a folder with every missing folder above it. The process's current directory is never
// changed: a relative path is taken from it as it is.

#include <string>

namespace derode::core {

// Makes the folder named by `path` (outer blanks ignored, "/" separated, trailing "/" optional)
// and every missing parent. Returns 0 when the last folder exists as a folder afterwards,
// else the system's error code of the level where it stopped. Later levels are not attempted.
int MAKEDIR(const std::string& path);

}  // namespace derode::core
