#include "gui/draw/DrawWindowOpen.h"

#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Text.h"
#include "draw/DrawTables.h"
#include "draw/LanesOption.h"
#include "engine/DbServer.h"
#include "gui/draw/DrawWindow.h"

#include <filesystem>

namespace derode::gui {

namespace {

const std::string kMemberTableFile = "membres-2.dbf";

// The member table of a league folder, found without regard to case.
std::string memberTableIn(const std::string& leagueFolder)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(leagueFolder, ec))
        if (core::equalsIgnoreCase(entry.path().filename().string(), kMemberTableFile))
            return entry.path().string();
    return leagueFolder + kMemberTableFile;
}

}  // namespace

int openDrawWindow(QWidget* parent, bool refillFromLastDraw)
{
    const std::string league = core::session().currentLeague;
    const std::string leagueFolder = core::locations().leagueFolder(league);
    engine::CDBSERVEREX members(memberTableIn(leagueFolder), {}, true);
    if (!members.used()) {
        core::showError(refillFromLastDraw ? draw::messages::lastDrawOpenFailed()
                                           : draw::messages::memberTableOpenFailed(),
                        "ERREUR");
        return 0;
    }

    auto registration = std::make_unique<draw::DrawRegistration>(leagueFolder, draw::readLanes(leagueFolder));
    registration->setSpousePairs(draw::readSpousePairs(members));
    registration->setMembers(draw::readMemberRows(members));

    DrawWindowActions actions;
    actions.draw = [](draw::DrawRegistration& r) { return r.VERIFIERTIRAGE(); };
    actions.refill = [](draw::DrawRegistration& r, std::string& date) {
        return draw::refillFromCurrentDrawFile(r, &date);
    };
    CWINTIRAGE window(std::move(registration), std::move(actions), league, refillFromLastDraw, parent);
    return window.exec();
}

}  // namespace derode::gui
