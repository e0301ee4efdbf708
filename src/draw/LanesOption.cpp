#include "draw/LanesOption.h"

#include "core/AtomicFile.h"
#include "core/Text.h"
#include "draw/DrawFile.h"

#include <vector>

namespace derode::draw {

// A small reader and writer of the one key this subsystem owns; the file is Windows-1252
// with "\r\n" line ends, and every other line is kept as it stands.
namespace {

const std::string kSection = "NombreDeAlles";
const std::string kKey = "Value";

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool isSectionLine(const std::string& line, std::string* name)
{
    std::string t = core::trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    if (name)
        *name = core::trim(t.substr(1, t.size() - 2));
    return true;
}

// The key's name on a "key=value" line, or "" when it is none.
std::string keyOf(const std::string& line, std::string* value)
{
    std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return {};
    if (value)
        *value = core::trim(line.substr(eq + 1));
    return core::trim(line.substr(0, eq));
}

}  // namespace

int readLanes(const std::string& leagueFolder)
{
    std::string bytes;
    if (!core::readFile(leagueFolder + kOptionsFileName, bytes))
        return kDefaultLanes;
    bool inSection = false;
    for (const std::string& line : splitLines(bytes)) {
        std::string name;
        if (isSectionLine(line, &name)) {
            inSection = core::equalsIgnoreCase(name, kSection);
            continue;
        }
        std::string value;
        if (inSection && core::equalsIgnoreCase(keyOf(line, &value), kKey)) {
            int lanes = tokenValue(value);
            return lanes > 0 ? lanes : kDefaultLanes;
        }
    }
    return kDefaultLanes;
}

bool writeLanes(const std::string& leagueFolder, int lanes)
{
    const std::string path = leagueFolder + kOptionsFileName;
    std::string bytes;
    core::readFile(path, bytes);
    std::vector<std::string> lines = splitLines(bytes);
    const std::string entry = kKey + "=" + std::to_string(lanes);

    bool inSection = false;
    bool written = false;
    std::size_t sectionEnd = lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string name;
        if (isSectionLine(lines[i], &name)) {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = core::equalsIgnoreCase(name, kSection);
            sectionFound = sectionFound || inSection;
            continue;
        }
        if (inSection && core::equalsIgnoreCase(keyOf(lines[i], nullptr), kKey)) {
            lines[i] = entry;
            written = true;
        }
    }
    if (!written) {
        if (sectionFound) {
            // Insert after the section's last non-empty line.
            std::size_t at = sectionEnd;
            while (at > 0 && core::trim(lines[at - 1]).empty())
                --at;
            lines.insert(lines.begin() + static_cast<long>(at), entry);
        } else {
            lines.push_back("[" + kSection + "]");
            lines.push_back(entry);
        }
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return core::writeFileAtomically(path, out);
}

}  // namespace derode::draw
