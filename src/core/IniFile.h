#pragma once
// Reader and writer of Windows profile files ("[section]" lines and "key=value" lines), the
// format of the league options and of the remembered league. Files are Windows-1252 text with
// CR LF line ends; UTF-8 files (with or without a byte-order mark) are read too. Section and
// key names compare without regard to case, as the Windows profile API does. Nothing is cached:
// every call reads the file again, and every write rewrites it whole and atomically, so a value
// written by one window is seen by the next reader. A file that cannot be read reads as empty
// and is never truncated by a read.

#include <string>

namespace derode::core {

class CINIFILE {
public:
    explicit CINIFILE(std::string path);

    const std::string& path() const { return path_; }

    // The integer of the key; `defaultValue` when the file, section or key is missing or the
    // text is not a whole decimal number (blanks around it allowed).
    int readInt(const std::string& section, const std::string& key, int defaultValue) const;
    // The text of the key (UTF-8), outer blanks and one pair of enclosing quotes removed.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Create a missing file, section or key; false when the file cannot be written (or exists
    // but cannot be read, so that its other entries are never lost).
    bool writeInt(const std::string& section, const std::string& key, int value) const;
    bool writeString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};

}  // namespace derode::core
