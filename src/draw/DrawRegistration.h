#pragma once
// The registration behind the draw window: the members list, the captains and players
// registered for the date, the limits that depend on the number of lanes, the close guard and
// the draw command. Every message and question goes through the message seam; the window only
// shows these lists and forwards the user's actions.

#include "draw/DrawFile.h"
#include "draw/TeamDraw.h"

#include <optional>
#include <string>
#include <vector>

namespace derode::draw {

// One row of the members list.
struct MemberRow {
    std::string name;         // display name
    bool captain = false;     // `CAPITAINE`: shown "C", else "J"
    std::string token;        // `NO_JETON` without leading zeros
    bool occasional = false;  // `CAPT_OCC`: shown "CO"
    bool femme = false;       // `FEMME`, kept with the row for the draw
    bool chosen = false;      // registered: shown "P"
    int spouse = 0;           // `NO_CONJOIN`, 0 for none

    std::string status() const { return captain ? "C" : "J"; }
    std::string chosenMark() const { return chosen ? "P" : ""; }
    std::string occasionalMark() const { return occasional ? "CO" : ""; }
};

// One row of the captains list or the players list.
struct RegisteredRow {
    std::string name;
    std::string status;          // the member's "C" / "J"
    std::string token;
    std::string occasionalMark;  // "CO" or ""
    bool femme = false;
};

enum class TokenRegistration { NotFound, Registered, Refused };

class DrawRegistration {
public:
    DrawRegistration(std::string leagueFolder, int lanes);

    // Opening: the members in the order the member table delivers them, and the spouse pairs.
    void setMembers(std::vector<MemberRow> members);
    void setSpousePairs(std::vector<SpousePair> pairs) { spousePairs_ = std::move(pairs); }
    const std::vector<SpousePair>& spousePairs() const { return spousePairs_; }
    // A member added from the window: inserted, the list sorted, the new row selected; a spouse
    // recorded with it joins the spouse pairs.
    void addNewMember(const MemberRow& member);

    const std::vector<MemberRow>& members() const { return members_; }
    const std::vector<RegisteredRow>& captains() const { return captains_; }
    const std::vector<RegisteredRow>& players() const { return players_; }

    // Selections (-1: none). A selection by the user sets the printed flag back to false.
    int selectedMember() const { return selectedMember_; }
    int selectedCaptain() const { return selectedCaptain_; }
    int selectedPlayer() const { return selectedPlayer_; }
    void selectMember(int row);
    void selectCaptain(int row);
    void selectPlayer(int row);
    // First-letter search in the members list: selects the first name beginning with the
    // letter (compared in capitals). False when none does.
    bool selectByFirstLetter(char32_t letter);

    // Lanes and the limits they give.
    int lanes() const { return lanes_; }
    int captainLimit() const { return 2 * lanes_; }
    int peopleLimit() const { return 8 * lanes_; }
    std::string maxPeopleText() const;  // "/ " + 8 × lanes
    // A choice in the lanes box: kept and written to the options file.
    bool changeLanes(int lanes);

    int captainCount() const { return static_cast<int>(captains_.size()); }
    int playerCount() const { return static_cast<int>(players_.size()); }
    int totalCount() const { return captainCount() + playerCount(); }

    // The commands of the window's buttons; each shows its own messages and returns whether
    // the registration changed.
    bool addCaptain();       // 109
    bool addPlayer();        // 113
    bool removeCaptain();    // 110, with confirmation
    bool removePlayer();     // 114, with confirmation
    bool promotePlayer();    // 111, with confirmation
    bool demoteCaptain();    // 112, with confirmation

    // `CPUSHOKJETON2`: registers the member with that token number (the given text when its
    // value is above 0, else the entry field's text), in the role of its status, or as
    // captain / player as the caller says while refilling.
    TokenRegistration registerByToken(const std::string& token, bool asCaptain, const std::string& entryText);
    // Double click on a members row.
    TokenRegistration registerMemberRow(int row);

    // `REPOPULATION`: registers again the people of a draw (captains of fields 9 and 13, then
    // the players), skipping the filler and empty places.
    void refill(const std::vector<DrawRecord>& records);
    bool repopulating() const { return repopulation_; }

    // The entries handed to the draw, in list order.
    std::vector<DrawEntry> captainEntries() const;
    std::vector<DrawEntry> playerEntries() const;

    // `VERIFIERTIRAGE`: checks the registration against the rules (lanes read from the options
    // file now), then draws with retries into the current draw file. True when a draw was written.
    bool VERIFIERTIRAGE();

    // Close guard (118): true when the window may close.
    bool closeGuard();
    bool printed() const { return printed_; }
    void setPrinted(bool printed) { printed_ = printed; }
    bool closeRefused() const { return closeRefused_; }

    const std::string& leagueFolder() const { return leagueFolder_; }

private:
    bool addSelectedMember(bool asCaptain);
    bool removeRegistered(std::vector<RegisteredRow>& list, int& selected, bool captains);
    bool moveRegistered(bool promote);
    int insertSorted(std::vector<RegisteredRow>& list, const RegisteredRow& row);
    int memberRowByName(const std::string& name) const;

    std::string leagueFolder_;
    int lanes_;
    std::vector<MemberRow> members_;
    std::vector<RegisteredRow> captains_;
    std::vector<RegisteredRow> players_;
    std::vector<SpousePair> spousePairs_;
    int selectedMember_ = -1;
    int selectedCaptain_ = -1;
    int selectedPlayer_ = -1;
    bool printed_ = false;
    bool closeRefused_ = false;
    bool repopulation_ = false;
};

// The messages of the window, as the organiser reads them.
namespace messages {
std::string noMemberSelected();
std::string noCaptainSelected();
std::string noPlayerSelected();
std::string noPlayerSelectedToPromote();
std::string noCaptainSelectedToDemote();
std::string captainLimit(int limit);
std::string peopleLimit(int limit);
std::string alreadySelected();
std::string confirmRemoveCaptain(const std::string& name);
std::string confirmRemovePlayer(const std::string& name);
std::string confirmPromote(const std::string& name);
std::string confirmDemote(const std::string& name);
std::string unknownToken();
std::string closeWithoutPrinting();
std::string memberTableOpenFailed();
std::string lastDrawOpenFailed();
}  // namespace messages

// "[" + league + "] Tirages des parties 1 et 2 du " + date ("YYYY-MM-DD").
std::string drawWindowCaption(const std::string& league, const std::string& isoDate);

}  // namespace derode::draw
