#include "members/MemberMaintenance.h"

#include "core/Messages.h"
#include "core/Text.h"
#include "engine/DbServer.h"
#include "members/MemberTable.h"

namespace derode::members {

bool cleanMemberTable(const std::string& tablePath)
{
    {
        auto table = openMemberTable(tablePath, false);
        if (!table)
            return false;
        table->setOrder("");
        for (bool more = table->goTop(); more && !table->eof(); more = table->skip(1)) {
            const std::string nom = table->getText("NOM");
            if (ISLOWERINSTRING(nom) && !(table->fieldPut("NOM", core::toUpper(nom)) && table->commit())) {
                core::showError(kCannotWriteText, "ERREUR");
                return false;
            }
            if (core::trim(nom).empty())
                table->deleteRecord();
        }
        if (!table->pack()) {
            core::showError(kCannotPackText, "ERREUR");
            return false;
        }
    }
    if (!rebuildMemberIndex(tablePath)) {
        core::showError(kCannotReindexText, "ERREUR");
        return false;
    }
    core::showInformation(kMaintenanceDoneText, "OK");
    return true;
}

void MENU_CLEANMEMBERS() { cleanMemberTable(currentMemberTablePath()); }

bool eraseAllMembers(const std::string& tablePath)
{
    engine::CDBSERVEREX table(tablePath, std::string(), false, false);
    return table.used() && table.zap();
}

bool packIfExclusive(const std::string& tablePath)
{
    engine::CDBSERVEREX table(tablePath, std::string(), false, false);
    return table.used() && table.pack();
}

}  // namespace derode::members
