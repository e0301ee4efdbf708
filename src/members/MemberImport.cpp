#include "members/MemberImport.h"

#include "core/AtomicFile.h"
#include "core/Messages.h"
#include "core/Text.h"
#include "engine/DbServer.h"
#include "members/MemberTable.h"
#include "members/MemberUpgrade.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace derode::members {

namespace {

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    const fs::path pa = fs::weakly_canonical(a, ec);
    const fs::path pb = fs::weakly_canonical(b, ec);
    return core::equalsIgnoreCase(pa.string(), pb.string());
}

bool copyFileAtomically(const std::string& source, const std::string& target)
{
    return core::replaceFileAtomically(target, [&](const std::string& tempPath) {
        std::error_code ec;
        fs::copy_file(source, tempPath, fs::copy_options::overwrite_existing, ec);
        return !ec;
    });
}

bool sameField(const engine::FieldDef& a, const engine::FieldDef& b)
{
    return core::equalsIgnoreCase(a.name, b.name) && a.type == b.type && a.length == b.length
        && a.decimals == b.decimals;
}

}  // namespace

bool hasMemberLayout(const std::string& path)
{
    if (!engine::ISFILEDBF(path))
        return false;
    engine::CDBSERVEREX table(path, std::string(), true, true);
    if (!table.used())
        return false;
    const std::vector<engine::FieldDef>& fields = table.fields();
    const std::vector<engine::FieldDef>& layout = memberFields();
    if (fields.size() == layout.size()) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!sameField(fields[i], layout[i]))
                return false;
        return true;
    }
    if (fields.size() != layout.size() - 1)
        return false;
    // An older release: the same fields in the same order, one of them missing.
    std::size_t j = 0;
    int skipped = 0;
    for (const engine::FieldDef& field : fields) {
        while (j < layout.size() && !sameField(field, layout[j])) {
            ++j;
            ++skipped;
        }
        if (j == layout.size() || skipped > 1)
            return false;
        ++j;
    }
    return true;
}

std::string importWarningText(const std::string& leagueName)
{
    return "ATTENTION, vous allez effacer TOUTE la base de données des membres/joueurs de la ligue\r\n\r\n  ( "
        + leagueName + ")." + "\r\n" + "\r\n" + "Avant de pouvoir importer la base de données d'une autre ligue, "
        + "VOUS DEVEZ ÊTRE CERTAIN de ce que vous faites..." + "\r\n" + "\r\n" + "Êtes-vous d'accord????";
}

ImportResult importMembersFrom(const std::string& chosenPath, const std::string& leagueFolder)
{
    std::error_code ec;
    if (!fs::is_regular_file(chosenPath, ec) || !hasMemberLayout(chosenPath)) {
        core::showInformation(kWrongFileText);
        return ImportResult::WrongFile;
    }
    const std::string tablePath = memberTablePath(leagueFolder);
    if (fs::exists(tablePath, ec) && sameFile(chosenPath, tablePath))
        return ImportResult::SameTable;
    if (fs::exists(tablePath, ec)) {
        // Another window still holding the register would keep reading the old file.
        engine::CDBSERVEREX probe(tablePath, std::string(), false, true);
        if (!probe.used()) {
            showCannotOpen();
            return ImportResult::CannotOpen;
        }
    }
    if (!copyFileAtomically(chosenPath, tablePath)) {
        showCannotOpen();
        return ImportResult::Failed;
    }
    // The index that came with the chosen table, when there is one; otherwise the league's own
    // index no longer describes the table and goes.
    const std::string sourceIndex = indexPathFor(chosenPath);
    const std::string targetIndex = indexPathFor(tablePath);
    if (fs::is_regular_file(sourceIndex, ec)) {
        if (!copyFileAtomically(sourceIndex, targetIndex))
            fs::remove(targetIndex, ec);
    } else {
        fs::remove(targetIndex, ec);
    }
    // Eight fields: upgraded now rather than at the next start; the upgrade rebuilds the index.
    if (upgradeMemberTable(leagueFolder) != UpgradeResult::Upgraded)
        rebuildMemberIndex(tablePath);
    return ImportResult::Imported;
}

}  // namespace derode::members
