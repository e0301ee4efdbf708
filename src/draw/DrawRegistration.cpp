#include "draw/DrawRegistration.h"

#include "core/Messages.h"
#include "core/Encoding.h"
#include "core/Text.h"
#include "draw/LanesOption.h"

#include <algorithm>

namespace derode::draw {

namespace messages {
std::string noMemberSelected() { return "\r\n\r\n\r\nVous n'avez sélectionner aucun membre...\r\n\r\nRecommencez..."; }
std::string noCaptainSelected() { return "\r\n\r\n\r\nVous n'avez sélectionner aucun capitaine...\r\n\r\nRecommencez..."; }
std::string noPlayerSelected() { return "\r\n\r\n\r\nVous n'avez sélectionner aucun joueur...\r\n\r\nRecommencez..."; }
std::string noPlayerSelectedToPromote() { return "\r\n\r\nVous n'avez sélectionner aucun joueur...\r\n\r\nRecommencez..."; }
std::string noCaptainSelectedToDemote()
{
    return "\r\n\r\nVous n'avez sélectionner aucun capitaine...\r\n\r\nRecommencez...";
}
std::string captainLimit(int limit)
{
    return "Le nombre total de capitaines a atteint le nombre maximun de " + std::to_string(limit) + "\r\n" + "\r\n"
        + "Aucun autre capitaine ne peut être accepté, à moins d'échanger un joueur / capitaine existant";
}
std::string peopleLimit(int limit)
{
    return "Le nombre total de joueurs / capitaines a atteint le nombre maximun de " + std::to_string(limit) + "\r\n"
        + "\r\n"
        + "Aucun autre joueur / capitaine ne peut être accepté, à moins d'enlever un joueur / capitaine existant"
        + ", ou d'ajouter des allées / tapis";
}
std::string alreadySelected() { return "\r\n\r\n\r\nCe membre a déja été sélectionné..."; }
std::string confirmRemoveCaptain(const std::string& name)
{
    return "\r\n\r\n\r\nVoulez-vous enlever [" + name + "] de la liste des capitaines inscrits ?";
}
std::string confirmRemovePlayer(const std::string& name)
{
    return "\r\n\r\n\r\nVoulez-vous enlever [" + name + "] de la liste des joueurs inscrits ?";
}
std::string confirmPromote(const std::string& name)
{
    return "\r\n\r\n\r\nVoulez-vous monter [" + name + "] comme capitaine ?";
}
std::string confirmDemote(const std::string& name)
{
    return "\r\n\r\n\r\nVoulez-vous descendre [" + name + "] comme joueur ?";
}
std::string unknownToken() { return "Ce # de jeton n'existe pas, recommencez..."; }
std::string closeWithoutPrinting()
{
    return "Vérifier si les tirages a été imprimés..., sinon ceux-ci  ne seront pas sauvegardés..., ils deviendront "
           "nuls et vous devrez tout recommencer\r\n\r\nVoulez-vous quitter sans imprimer?";
}
std::string memberTableOpenFailed()
{
    return "Le programme ne peut pas ouvrir la base de données des membres... \r\n\r\nSVP, ré-installez le programme "
           "de nouveau";
}
std::string lastDrawOpenFailed() { return "Le programme ne peut pas ouvrir la base de données du dernier tirage... "; }
}  // namespace messages

std::string drawWindowCaption(const std::string& league, const std::string& isoDate)
{
    return "[" + league + "] Tirages des parties 1 et 2 du " + isoDate;
}

namespace {

// Token texts compare trimmed and padded on the left with "0" to three characters.
std::string tokenKey(const std::string& text)
{
    std::string key = core::trim(text);
    while (key.size() < 3)
        key.insert(key.begin(), '0');
    return key;
}

RegisteredRow registeredRowOf(const MemberRow& member)
{
    return RegisteredRow{member.name, member.status(), member.token, member.occasionalMark(), member.femme};
}

DrawEntry entryOf(const RegisteredRow& row) { return DrawEntry{row.name, row.token, row.femme}; }

// The letter an accented Latin letter is filed under, in capitals: ÉMOND sorts among the E.
char32_t filingLetter(char32_t c)
{
    static const char32_t* const latin1 = U"AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTSAAAAAAACEEEEIIIIDNOOOOO/OUUUUYTY";
    if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7)
        return latin1[c - 0xC0];
    return core::toUpper(c);
}

std::u32string filingKey(const std::string& name)
{
    std::u32string key;
    for (std::size_t pos = 0; pos < name.size();)
        key.push_back(filingLetter(core::decodeUtf8(name, pos)));
    return key;
}

// Display names in the order a French reader files them; names equal but for their accents
// keep a fixed order.
bool filedBefore(const std::string& a, const std::string& b)
{
    const std::u32string ka = filingKey(a);
    const std::u32string kb = filingKey(b);
    return ka != kb ? ka < kb : a < b;
}

}  // namespace

DrawRegistration::DrawRegistration(std::string leagueFolder, int lanes)
    : leagueFolder_(std::move(leagueFolder)), lanes_(lanes)
{
}

void DrawRegistration::setMembers(std::vector<MemberRow> members)
{
    members_ = std::move(members);
    selectedMember_ = members_.empty() ? -1 : 0;
}

void DrawRegistration::addNewMember(const MemberRow& member)
{
    const std::vector<SpousePair> pair = validSpousePairs({{member.spouse, tokenValue(member.token)}});
    spousePairs_.insert(spousePairs_.end(), pair.begin(), pair.end());
    members_.push_back(member);
    std::stable_sort(members_.begin(), members_.end(),
                     [](const MemberRow& a, const MemberRow& b) { return filedBefore(a.name, b.name); });
    selectedMember_ = memberRowByName(member.name);
}

void DrawRegistration::selectMember(int row)
{
    selectedMember_ = row >= 0 && row < static_cast<int>(members_.size()) ? row : -1;
    printed_ = false;
}

void DrawRegistration::selectCaptain(int row)
{
    selectedCaptain_ = row >= 0 && row < captainCount() ? row : -1;
    printed_ = false;
}

void DrawRegistration::selectPlayer(int row)
{
    selectedPlayer_ = row >= 0 && row < playerCount() ? row : -1;
    printed_ = false;
}

bool DrawRegistration::selectByFirstLetter(char32_t letter)
{
    const char32_t wanted = core::toUpper(letter);
    for (std::size_t i = 0; i < members_.size(); ++i) {
        std::size_t pos = 0;
        const std::string& name = members_[i].name;
        if (!name.empty() && core::toUpper(core::decodeUtf8(name, pos)) == wanted) {
            selectMember(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

std::string DrawRegistration::maxPeopleText() const { return "/ " + std::to_string(peopleLimit()); }

bool DrawRegistration::changeLanes(int lanes)
{
    lanes_ = lanes;
    return writeLanes(leagueFolder_, lanes);
}

int DrawRegistration::insertSorted(std::vector<RegisteredRow>& list, const RegisteredRow& row)
{
    auto at = std::upper_bound(list.begin(), list.end(), row,
                               [](const RegisteredRow& a, const RegisteredRow& b) { return filedBefore(a.name, b.name); });
    const auto index = at - list.begin();
    list.insert(at, row);
    return static_cast<int>(index);
}

int DrawRegistration::memberRowByName(const std::string& name) const
{
    for (std::size_t i = 0; i < members_.size(); ++i)
        if (members_[i].name == name)
            return static_cast<int>(i);
    return -1;
}

bool DrawRegistration::addSelectedMember(bool asCaptain)
{
    if (selectedMember_ < 0) {
        core::showInformation(messages::noMemberSelected());
        return false;
    }
    if (asCaptain && captainCount() >= captainLimit()) {
        core::showInformation(messages::captainLimit(captainLimit()));
        return false;
    }
    if (!asCaptain && totalCount() >= peopleLimit()) {
        core::showInformation(messages::peopleLimit(peopleLimit()));
        return false;
    }
    MemberRow& member = members_[static_cast<std::size_t>(selectedMember_)];
    if (member.chosen) {
        core::showInformation(messages::alreadySelected());
        return false;
    }
    member.chosen = true;
    if (asCaptain)
        selectedCaptain_ = insertSorted(captains_, registeredRowOf(member));
    else
        selectedPlayer_ = insertSorted(players_, registeredRowOf(member));
    return true;
}

bool DrawRegistration::addCaptain() { return addSelectedMember(true); }

bool DrawRegistration::addPlayer() { return addSelectedMember(false); }

bool DrawRegistration::removeRegistered(std::vector<RegisteredRow>& list, int& selected, bool captains)
{
    if (selected < 0 || selected >= static_cast<int>(list.size())) {
        core::showInformation(captains ? messages::noCaptainSelected() : messages::noPlayerSelected());
        return false;
    }
    const std::string name = list[static_cast<std::size_t>(selected)].name;
    const std::string shown = SHRINKTABSINSTRING(name);
    if (!core::askYesNo(captains ? messages::confirmRemoveCaptain(shown) : messages::confirmRemovePlayer(shown)))
        return false;
    int member = memberRowByName(name);
    if (member < 0)
        return false;
    list.erase(list.begin() + selected);
    selected = -1;
    members_[static_cast<std::size_t>(member)].chosen = false;
    selectedMember_ = member;
    return true;
}

bool DrawRegistration::removeCaptain() { return removeRegistered(captains_, selectedCaptain_, true); }

bool DrawRegistration::removePlayer() { return removeRegistered(players_, selectedPlayer_, false); }

bool DrawRegistration::moveRegistered(bool promote)
{
    std::vector<RegisteredRow>& from = promote ? players_ : captains_;
    std::vector<RegisteredRow>& to = promote ? captains_ : players_;
    int& selectedFrom = promote ? selectedPlayer_ : selectedCaptain_;
    int& selectedTo = promote ? selectedCaptain_ : selectedPlayer_;
    if (selectedFrom < 0 || selectedFrom >= static_cast<int>(from.size())) {
        core::showInformation(promote ? messages::noPlayerSelectedToPromote() : messages::noCaptainSelectedToDemote());
        return false;
    }
    if (promote && captainCount() >= captainLimit()) {
        core::showInformation(messages::captainLimit(captainLimit()));
        return false;
    }
    const RegisteredRow row = from[static_cast<std::size_t>(selectedFrom)];
    const std::string shown = SHRINKTABSINSTRING(row.name);
    if (!core::askYesNo(promote ? messages::confirmPromote(shown) : messages::confirmDemote(shown)))
        return false;
    from.erase(from.begin() + selectedFrom);
    selectedFrom = -1;
    selectedTo = insertSorted(to, row);
    return true;
}

bool DrawRegistration::promotePlayer() { return moveRegistered(true); }

bool DrawRegistration::demoteCaptain() { return moveRegistered(false); }

TokenRegistration DrawRegistration::registerByToken(const std::string& token, bool asCaptain,
                                                    const std::string& entryText)
{
    const std::string key = tokenKey(tokenValue(token) > 0 ? token : entryText);
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (tokenKey(members_[i].token) != key)
            continue;
        selectMember(static_cast<int>(i));
        const bool captain = repopulation_ ? asCaptain : members_[i].captain;
        return addSelectedMember(captain) ? TokenRegistration::Registered : TokenRegistration::Refused;
    }
    core::showInformation(messages::unknownToken(), "INFO");
    return TokenRegistration::NotFound;
}

TokenRegistration DrawRegistration::registerMemberRow(int row)
{
    selectMember(row);
    if (selectedMember_ < 0)
        return TokenRegistration::NotFound;
    return addSelectedMember(members_[static_cast<std::size_t>(selectedMember_)].captain)
        ? TokenRegistration::Registered
        : TokenRegistration::Refused;
}

void DrawRegistration::refill(const std::vector<DrawRecord>& records)
{
    repopulation_ = true;
    for (const DrawRecord& record : records) {
        auto take = [&](int field, bool asCaptain) {
            const std::string& token = record.tokens[static_cast<std::size_t>(field - 9)];
            if (!core::trim(token).empty() && tokenValue(token) > 0)
                registerByToken(token, asCaptain, "0");
        };
        take(9, true);
        take(13, true);
        for (int field : {10, 11, 12, 14, 15, 16})
            take(field, false);
    }
    repopulation_ = false;
}

std::vector<DrawEntry> DrawRegistration::captainEntries() const
{
    std::vector<DrawEntry> entries;
    for (const RegisteredRow& row : captains_)
        entries.push_back(entryOf(row));
    return entries;
}

std::vector<DrawEntry> DrawRegistration::playerEntries() const
{
    std::vector<DrawEntry> entries;
    for (const RegisteredRow& row : players_)
        entries.push_back(entryOf(row));
    return entries;
}

bool DrawRegistration::closeGuard()
{
    if (printed_)
        return true;
    if (closeRefused_) {
        closeRefused_ = false;
        return false;
    }
    if (core::askYesNo(messages::closeWithoutPrinting()))
        return true;
    closeRefused_ = true;
    return false;
}

}  // namespace derode::draw
