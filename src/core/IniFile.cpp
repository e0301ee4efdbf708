#include "core/IniFile.h"

#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "core/Text.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace derode::core {

namespace {

// The file as UTF-8 lines without their line ends.
struct IniText {
    std::vector<std::string> lines;
};

std::string stripBlanks(const std::string& text) { return trim(text, " \t"); }

std::string decode(const std::string& bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return bytes.substr(3);
    if (isValidUtf8(bytes))
        return bytes;
    return cp1252ToUtf8(bytes);
}

IniText split(const std::string& text)
{
    IniText ini;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ini.lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return ini;
}

// nullopt: the file exists but cannot be read. A missing file is an empty text.
std::optional<IniText> load(const std::string& path)
{
    std::string bytes;
    if (!readFile(path, bytes)) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 && errno == ENOENT)
            return IniText{};
        return std::nullopt;
    }
    return split(decode(bytes));
}

// Name of the section a line opens, or nullopt.
std::optional<std::string> sectionName(const std::string& line)
{
    std::string t = stripBlanks(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return stripBlanks(t.substr(1, close - 1));
}

// Key of a "key=value" line (and its value), or nullopt for other lines.
std::optional<std::pair<std::string, std::string>> keyValue(const std::string& line)
{
    std::string t = stripBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return std::make_pair(stripBlanks(t.substr(0, eq)), stripBlanks(t.substr(eq + 1)));
}

std::optional<std::string> lookup(const IniText& ini, const std::string& section, const std::string& key)
{
    bool inSection = false;
    for (const auto& line : ini.lines) {
        if (auto name = sectionName(line)) {
            inSection = equalsIgnoreCase(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto kv = keyValue(line); kv && equalsIgnoreCase(kv->first, key))
            return kv->second;
    }
    return std::nullopt;
}

bool store(const std::string& path, const std::string& section, const std::string& key, const std::string& value)
{
    std::optional<IniText> loaded = load(path);
    if (!loaded)
        return false;
    IniText& ini = *loaded;
    // A line break inside a value would cut the file's structure; it becomes a blank.
    std::string flat = value;
    for (char& c : flat)
        if (c == '\r' || c == '\n')
            c = ' ';
    const std::string newLine = key + "=" + flat;

    bool inSection = false;
    std::optional<std::size_t> lastOfSection;  // last non-blank line of the wanted section
    bool done = false;
    for (std::size_t i = 0; i < ini.lines.size() && !done; ++i) {
        const std::string& line = ini.lines[i];
        if (auto name = sectionName(line)) {
            if (inSection)
                break;
            inSection = equalsIgnoreCase(*name, section);
            if (inSection)
                lastOfSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (auto kv = keyValue(line); kv && equalsIgnoreCase(kv->first, key)) {
            ini.lines[i] = newLine;
            done = true;
        } else if (!stripBlanks(line).empty()) {
            lastOfSection = i;
        }
    }
    if (!done) {
        if (lastOfSection) {
            ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(*lastOfSection + 1), newLine);
        } else {
            while (!ini.lines.empty() && stripBlanks(ini.lines.back()).empty())
                ini.lines.pop_back();
            if (!ini.lines.empty())
                ini.lines.emplace_back();
            ini.lines.push_back("[" + section + "]");
            ini.lines.push_back(newLine);
        }
    }
    std::string text;
    for (const auto& line : ini.lines)
        text += line + "\r\n";
    return writeFileAtomically(path, utf8ToCp1252(text));
}

}  // namespace

CINIFILE::CINIFILE(std::string path) : path_(std::move(path)) {}

int CINIFILE::readInt(const std::string& section, const std::string& key, int defaultValue) const
{
    std::optional<IniText> ini = load(path_);
    if (!ini)
        return defaultValue;
    std::optional<std::string> text = lookup(*ini, section, key);
    if (!text || text->empty())
        return defaultValue;
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+')
        ++first;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return defaultValue;
    return value;
}

std::string CINIFILE::readString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    std::optional<IniText> ini = load(path_);
    if (!ini)
        return defaultValue;
    std::optional<std::string> text = lookup(*ini, section, key);
    if (!text)
        return defaultValue;
    std::string value = *text;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

bool CINIFILE::writeInt(const std::string& section, const std::string& key, int value) const
{
    return store(path_, section, key, std::to_string(value));
}

bool CINIFILE::writeString(const std::string& section, const std::string& key, const std::string& value) const
{
    return store(path_, section, key, value);
}

}  // namespace derode::core
