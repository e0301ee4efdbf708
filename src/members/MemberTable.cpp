#include "members/MemberTable.h"

#include "core/Encoding.h"
#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace derode::members {

const std::vector<engine::FieldDef>& memberFields()
{
    static const std::vector<engine::FieldDef> fields = {
        {"NOM", 'C', 20, 0},      {"PRENOM", 'C', 20, 0},   {"FEMME", 'L', 1, 0},
        {"CAPITAINE", 'L', 1, 0}, {"TELEPHONE", 'C', 12, 0}, {"NO_JETON", 'N', 3, 0},
        {"CAPT_OCC", 'L', 1, 0},  {"MAIL", 'C', 40, 0},     {"NO_CONJOIN", 'N', 3, 0},
    };
    return fields;
}

std::string fileInFolder(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (core::equalsIgnoreCase(entry.path().filename().string(), name))
            return entry.path().string();
    }
    return folder + name;
}

std::string memberTablePath(const std::string& leagueFolder) { return fileInFolder(leagueFolder, kMemberTableFile); }

std::string currentMemberTablePath()
{
    return memberTablePath(core::locations().leagueFolder(core::session().currentLeague));
}

std::string indexPathFor(const std::string& tablePath)
{
    fs::path table(tablePath);
    std::string folder = table.parent_path().string() + "/";
    return fileInFolder(folder, table.stem().string() + ".cdx");
}

void showCannotOpen() { core::showError(kCannotOpenText, "ERREUR"); }

std::unique_ptr<engine::CDBSERVEREX> openMemberTable(const std::string& path, bool shared)
{
    auto table = std::make_unique<engine::CDBSERVEREX>(path, std::string(), shared, false);
    if (!table->used()) {
        showCannotOpen();
        return nullptr;
    }
    return table;
}

bool ISLOWERINSTRING(const std::string& text)
{
    std::size_t pos = 0;
    while (pos < text.size())
        if (core::isLowerLetter(core::decodeUtf8(text, pos)))
            return true;
    return false;
}

std::string nameSeekKey(const std::string& familyName, const std::string& firstName)
{
    return core::padRight(familyName, kNameWidth) + core::trim(firstName);
}

namespace {
bool createTags(engine::CDBSERVEREX& table, std::string* error)
{
    if (table.createTag(kNameTag, "NOM+PRENOM") && table.createTag(kTokenTag, "NO_JETON"))
        return true;
    if (error)
        *error = table.lastError();
    return false;
}
}  // namespace

bool hasMemberTags(engine::CDBSERVEREX& table)
{
    const std::vector<std::string> tags = table.tagNames();
    return tags.size() >= 2 && core::equalsIgnoreCase(tags[0], kNameTag) && core::equalsIgnoreCase(tags[1], kTokenTag);
}

bool createMemberTable(const std::string& path, std::string* error)
{
    if (!engine::createTable(path, memberFields(), error))
        return false;
    engine::CDBSERVEREX table(path, std::string(), false, false);
    if (!table.used()) {
        if (error)
            *error = table.lastError();
        return false;
    }
    return createTags(table, error);
}

bool rebuildMemberIndex(const std::string& tablePath, std::string* error)
{
    {
        engine::CDBSERVEREX table(tablePath, std::string(), false, false);
        if (!table.used()) {
            if (error)
                *error = table.lastError();
            return false;
        }
        if (hasMemberTags(table)) {
            if (table.reindex())
                return true;
            if (error)
                *error = table.lastError();
            return false;
        }
    }
    // Missing or foreign tags: the old index is worth nothing, build a new one.
    std::error_code ec;
    const std::string indexPath = indexPathFor(tablePath);
    fs::remove(indexPath, ec);
    if (ec) {
        if (error)
            *error = ec.message();
        return false;
    }
    engine::CDBSERVEREX table(tablePath, std::string(), false, false);
    if (!table.used()) {
        if (error)
            *error = table.lastError();
        return false;
    }
    return createTags(table, error);
}

}  // namespace derode::members
