#include "members/MemberRules.h"

#include "members/MemberTestTable.h"

#include <gtest/gtest.h>

using namespace derode;

namespace {

members::MemberForm form(const std::string& nom, const std::string& prenom, const std::string& token,
                         const std::string& mail = {})
{
    members::MemberForm f;
    f.familyName = nom;
    f.firstName = prenom;
    f.token = token;
    f.spouse = "0";
    f.mail = mail;
    return f;
}

struct RegisterTest : ::testing::Test {
    test::TestLocations locations;
    test::ScriptedAnswerer answerer;
    std::string path;
    std::unique_ptr<engine::CDBSERVEREX> table;

    void SetUp() override
    {
        const std::string folder = test::makeLeague(
            locations, "Regles", {test::member("LATRIMOUILLE", "Alfred", 7), test::member("CÔTÉ", "Hélène", 9, 7)});
        path = folder + members::kMemberTableFile;
        table = std::make_unique<engine::CDBSERVEREX>(path, "", true);
        ASSERT_TRUE(table->used());
        table->goTop();
    }
    std::size_t count() { return test::membersIn(path).size(); }
};

}  // namespace

TEST(MemberNormalisation, CapitalsProperCaseAndBlanks)
{
    const struct {
        const char* familyIn;
        const char* firstIn;
        const char* nom;
        const char* prenom;
    } cases[] = {
        {"latrimouille", "alfred", "LATRIMOUILLE", "Alfred"},
        {"  le   blanc ", "jean   pierre", "LE BLANC", "Jean Pierre"},
        {"côté", "ÉLODIE-marie", "CÔTÉ", "Élodie-Marie"},
        {"çà", "ève", "ÇÀ", "Ève"},
        // Cut to twenty characters before the blanks are cleaned.
        {"abcdefghijklmnopqrstuvwxyz", "x", "ABCDEFGHIJKLMNOPQRST", "X"},
    };
    for (const auto& c : cases) {
        const members::Member m = members::memberFromForm(form(c.familyIn, c.firstIn, "12"));
        EXPECT_EQ(m.nom, c.nom);
        EXPECT_EQ(m.prenom, c.prenom);
    }
    EXPECT_EQ(members::numericValue(" 42"), 42);
    EXPECT_EQ(members::numericValue(""), 0);
    members::MemberForm captain = form("A", "B", "1");
    captain.capitaine = true;
    captain.captOcc = true;
    EXPECT_FALSE(members::memberFromForm(captain).captOcc);
}

TEST_F(RegisterTest, AddingChecksInOrderAndRefusesAPrefixOfAnExistingName)
{
    const struct {
        members::MemberForm form;
        core::MessageKind kind;
        std::string text;
    } refusals[] = {
        {form("NOUVEAU", "Paul", "0", "pas une adresse"), core::MessageKind::PlainError, "Position de @ invalide"},
        {form("NOUVEAU", "Paul", "0"), core::MessageKind::Information, members::kTokenZeroText},
        {form("NOUVEAU", "Paul", "7"), core::MessageKind::Information,
         "\r\n\r\nCe numéro de jeton 7 a déjà été attribué"},
        {form("latrimouille", "al", "20"), core::MessageKind::Error, members::kNameRefusedText},
        {form("  ", "Paul", "20"), core::MessageKind::Error, members::kNameRefusedText},
        {form("NOUVEAU", "  ", "20"), core::MessageKind::Error, members::kNameRefusedText},
    };
    for (const auto& r : refusals) {
        answerer.clear();
        EXPECT_FALSE(members::saveMember(*table, r.form, false, 0).saved) << r.text;
        ASSERT_EQ(answerer.shown().size(), 1u) << r.text;
        EXPECT_EQ(answerer.shown()[0].kind, r.kind);
        EXPECT_EQ(answerer.shown()[0].text, r.text);
    }
    EXPECT_EQ(count(), 2u);

    answerer.clear();
    const members::SaveResult added = members::saveMember(*table, form("latrimouille", "albert", "20"), false, 0);
    ASSERT_TRUE(added.saved);
    EXPECT_EQ(added.recordNumber, 3u);
    EXPECT_EQ(added.displayName, "LATRIMOUILLE  Albert");
    EXPECT_EQ(answerer.texts(), std::vector<std::string>{members::kAddedText});
    EXPECT_EQ(table->recNo(), 3u);
    EXPECT_EQ(table->order(), "");
    test::expectTagsFindEveryMember(path);
}

TEST_F(RegisterTest, ModifyingAcceptsAnotherMembersTokenButNotZero)
{
    members::MemberForm f = form("cote", "hélène", "0", "helene@cote.ca");
    EXPECT_FALSE(members::saveMember(*table, f, true, 2).saved);
    EXPECT_EQ(answerer.texts(), std::vector<std::string>{members::kTokenZeroText});

    answerer.clear();
    f.token = "7";
    const members::SaveResult saved = members::saveMember(*table, f, true, 2);
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(saved.recordNumber, 2u);
    EXPECT_EQ(saved.displayName, "COTE  Hélène");
    EXPECT_EQ(answerer.texts(), std::vector<std::string>{members::kModifiedText});
    const auto list = test::membersIn(path);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].noJeton, 7);
    EXPECT_EQ(list[1].mail, "helene@cote.ca");
    EXPECT_EQ(list[0].noJeton, 7);
}
