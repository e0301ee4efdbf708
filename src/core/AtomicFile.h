#pragma once
// The one saving policy: a whole-file rewrite goes to a temporary file in the target's folder,
// is flushed to disk, then renamed over the target in one step. On any failure the temporary
// file is removed and the old file stays as it was.

#include <functional>
#include <string>

namespace derode::core {

// Writes `bytes` as the whole content of `path`. Returns false (and `error`) on failure.
bool writeFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Lets `fill` write the new content into a temporary file beside `path` (given its path),
// then renames it into place when `fill` returns true. Used for copies and for tables
// rebuilt by another writer.
bool replaceFileAtomically(const std::string& path, const std::function<bool(const std::string& tempPath)>& fill,
                           std::string* error = nullptr);

// Reads a whole file; false when it cannot be read.
bool readFile(const std::string& path, std::string& bytes);

}  // namespace derode::core
