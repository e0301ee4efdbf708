// Writes the settings templates of the program folder given as argument: "OwnerData/
// DezovuziOptions.ini" with every league option set (so that every reader of a new league agrees,
// whatever its own default) and "OwnerData/System.pwd" holding the new-league password
// enciphered. Idempotent: a file already holding the right content is left untouched.

#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "core/MakeDir.h"
#include "core/Settings.h"
#include "league/Password.h"

#include <cstdio>
#include <string>

using namespace derode;

namespace {

std::string line(const core::IniKey& key, const std::string& value) { return std::string(key.key) + "=" + value + "\r\n"; }

std::string section(const char* name) { return std::string("[") + name + "]\r\n"; }

std::string optionsTemplate()
{
    using namespace core::settings;
    std::string text;
    text += section(kReportHeading.section) + line(kReportHeading, "Pétanque") + "\r\n";
    text += section(kMemberListCopies.section) + line(kMemberListCopies, "1") + "\r\n";
    text += section(kDrawSheet1Copies.section) + line(kDrawSheet1Copies, "2") + line(kDrawSheet2Copies, "1")
        + line(kDrawSheetHeading, "Pétanque") + "\r\n";
    text += section(kLanes.section) + line(kLanes, "12") + "\r\n";
    text += section(kMaxPoints.section) + line(kMaxPoints, "13");
    return core::utf8ToCp1252(text);
}

bool writeIfChanged(const std::string& path, const std::string& bytes)
{
    std::string current;
    if (core::readFile(path, current) && current == bytes)
        return true;
    std::string error;
    if (!core::writeFileAtomically(path, bytes, &error)) {
        std::fprintf(stderr, "derode-mksettings: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: derode-mksettings PROGRAM_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    const std::string ownerData = folder + "OwnerData/";
    if (core::MAKEDIR(ownerData) != 0) {
        std::fprintf(stderr, "derode-mksettings: cannot make %s\n", ownerData.c_str());
        return 1;
    }
    bool ok = writeIfChanged(ownerData + core::settings::kOptionsFileName, optionsTemplate());
    ok = writeIfChanged(ownerData + league::kPasswordFileName, league::encipherPassword(league::kNewLeaguePassword)) && ok;
    return ok ? 0 : 1;
}
