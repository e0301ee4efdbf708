#include "members/MemberRules.h"

#include "core/Encoding.h"
#include "core/Messages.h"
#include "core/Text.h"
#include "mail/MailText.h"
#include "members/DisplayName.h"
#include "members/MemberMaintenance.h"
#include "members/MemberTable.h"

namespace derode::members {

std::string tokenTakenText(int token)
{
    return "\r\n\r\nCe numéro de jeton " + std::to_string(token) + " a déjà été attribué";
}

std::string properCase(const std::string& text)
{
    std::string out;
    bool wordStart = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = core::decodeUtf8(text, pos);
        core::appendUtf8(out, wordStart ? core::toUpper(c) : core::toLower(c));
        wordStart = c == ' ' || c == '-' || c == '\t';
    }
    return out;
}

std::string collapseBlanks(const std::string& text)
{
    std::string out;
    for (char c : core::trim(text)) {
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

int numericValue(const std::string& text)
{
    std::size_t i = text.find_first_not_of(' ');
    int value = 0;
    for (; i != std::string::npos && i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

std::string shownFirstName(const std::string& typed) { return properCase(core::padRight(typed, kNameWidth)); }

Member memberFromForm(const MemberForm& form)
{
    Member m;
    m.nom = collapseBlanks(core::toUpper(core::padRight(form.familyName, kNameWidth)));
    m.prenom = collapseBlanks(shownFirstName(form.firstName));
    m.femme = form.femme;
    m.capitaine = form.capitaine;
    m.telephone = form.telephone;
    m.noJeton = numericValue(form.token);
    m.captOcc = form.captOcc && !form.capitaine;
    m.mail = core::trim(form.mail);
    m.noConjoin = numericValue(form.spouse);
    return m;
}

namespace {

// Restores the table's order on every way out of a save.
class OrderGuard {
public:
    explicit OrderGuard(engine::CDBSERVEREX& table) : table_(table), order_(table.order()) {}
    ~OrderGuard() { table_.setOrder(order_); }

private:
    engine::CDBSERVEREX& table_;
    std::string order_;
};

SaveResult written(engine::CDBSERVEREX& table, const Member& member, std::uint32_t recno, const char* text)
{
    if (!writeMember(table, member)) {
        core::showError(kCannotWriteText, "ERREUR");
        return {};
    }
    table.goTo(recno);
    core::showInformation(text);
    return {true, recno, displayName(member.nom, member.prenom)};
}

}  // namespace

SaveResult saveMember(engine::CDBSERVEREX& table, const MemberForm& form, bool toModify, std::uint32_t rememberedRecord)
{
    const Member member = memberFromForm(form);
    if (toModify) {
        if (member.noJeton == 0) {
            core::showInformation(kTokenZeroText);
            return {};
        }
        if (!mail::ISVALIDEMAILSTRICT(member.mail, true))
            return {};
        if (!table.goTo(rememberedRecord)) {
            core::showError(kCannotWriteText, "ERREUR");
            return {};
        }
        return written(table, member, rememberedRecord, kModifiedText);
    }

    if (!mail::ISVALIDEMAILSTRICT(member.mail, true))
        return {};
    if (member.noJeton == 0) {
        core::showInformation(kTokenZeroText);
        return {};
    }
    const std::uint32_t before = table.recNo();
    {
        OrderGuard order(table);
        table.setOrder(kTokenTag);
        if (table.seek(static_cast<double>(member.noJeton), false)) {
            table.goTo(before);
            core::showInformation(tokenTakenText(member.noJeton));
            return {};
        }
        table.setOrder(kNameTag);
        const bool exists = table.seek(nameSeekKey(member.nom, member.prenom), false);
        if (member.nom.empty() || member.prenom.empty() || exists) {
            table.goTo(before);
            core::showError(kNameRefusedText, "ERREUR");
            return {};
        }
    }
    if (!table.append()) {
        table.goTo(before);
        core::showError(kCannotWriteText, "ERREUR");
        return {};
    }
    return written(table, member, table.recNo(), kAddedText);
}

}  // namespace derode::members
