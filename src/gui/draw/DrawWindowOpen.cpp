#include "gui/draw/DrawWindowOpen.h"

#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "draw/DrawTables.h"
#include "draw/LanesOption.h"
#include "engine/DbServer.h"
#include "gui/draw/DrawWindow.h"
#include "gui/members/MemberDialog.h"
#include "members/MemberTable.h"

namespace derode::gui {

int openDrawWindow(QWidget* parent, bool refillFromLastDraw)
{
    const std::string league = core::session().currentLeague;
    const std::string leagueFolder = core::locations().leagueFolder(league);
    engine::CDBSERVEREX memberTable(members::memberTablePath(leagueFolder), {}, true);
    if (!memberTable.used()) {
        core::showError(refillFromLastDraw ? draw::messages::lastDrawOpenFailed()
                                           : draw::messages::memberTableOpenFailed(),
                        "ERREUR");
        return 0;
    }

    auto registration = std::make_unique<draw::DrawRegistration>(leagueFolder, draw::readLanes(leagueFolder));
    registration->setSpousePairs(draw::readSpousePairs(memberTable));
    registration->setMembers(draw::readMemberRows(memberTable));

    DrawWindowActions actions;
    actions.draw = [](draw::DrawRegistration& r) { return r.VERIFIERTIRAGE(); };
    actions.refill = [](draw::DrawRegistration& r, std::string& date) {
        return draw::refillFromCurrentDrawFile(r, &date);
    };
    actions.addMember = [&memberTable](QWidget* owner) -> std::optional<draw::MemberRow> {
        CAJOUTMEMBRE dialog(owner, memberTable, false);
        if (dialog.exec() != 1 || !memberTable.goTo(dialog.savedRecordNumber()))
            return std::nullopt;
        return draw::memberRowAtCursor(memberTable);
    };
    CWINTIRAGE window(std::move(registration), std::move(actions), league, refillFromLastDraw, parent);
    return window.exec();
}

}  // namespace derode::gui
