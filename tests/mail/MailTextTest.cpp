#include "mail/MailText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace derode;

TEST(String2Iso88591, EncodesAccentsAndBlanksInBothForms)
{
    EXPECT_EQ(mail::STRING2ISO_8859_1("Hélène Côté", true), " =?iso-8859-1?Q?H=E9l=E8ne_C=F4t=E9?=");
    EXPECT_EQ(mail::STRING2ISO_8859_1("Hélène Côté", false), "H=E9l=E8ne C=F4t=E9");
    EXPECT_EQ(mail::STRING2ISO_8859_1("a=b?", false), "a=3Db=3F");
    EXPECT_EQ(mail::STRING2ISO_8859_1("a=b?", true), " =?iso-8859-1?Q?a=3Db=3F?=");
    // Unlisted characters (here Œ, tab, underscore, line break) pass unchanged.
    EXPECT_EQ(mail::STRING2ISO_8859_1("Œ_\t\r\n~<>", false), "Œ_\t\r\n=7E=3C=3E");
}

TEST(IsValidEmailStrict, ReportsTheFirstBrokenRule)
{
    const std::string tooLongLocal(65, 'a');
    const std::string longLabel(64, 'b');
    const struct {
        std::string address;
        std::string message;  // empty: valid
    } cases[] = {
        {"a@b.co", ""},
        {"  jean.dupont+club@mail.example.fr ", ""},
        {"", "E-mail vide"},
        {"ab.co", "Position de @ invalide"},
        {"@b.co", "Position de @ invalide"},
        {"a@", "Position de @ invalide"},
        {"a@b@c.co", "Multiple @"},
        {tooLongLocal + "@b.co", "Partie locale vide ou trop longue"},
        {".a@b.co", "Partie locale vide ommence ou finit par un point"},
        {"a..b@b.co", "Partie locale, deux points consécutifs"},
        {"a b@b.co", "Partie locale caractère invalide : Espace"},
        {"é@b.co", "Partie locale caractère invalide : é"},
        {"a@.b.co", "Domaine commence ou finit par un point"},
        {"a@b..co", "Domaine, deux points consécutifs"},
        {"a@bco", "Pas de point, ou point au tout début du domaine (ex: .com) "},
        {"a@b.c", "(Top-Level Domain) trop court (ex: example.c) "},
        {"a@b.c1", "Top-Level Domain caractère non-alpha : 1"},
        {"a@" + longLabel + ".co", "Partie locale trop long, lLimite RFC de 63 caractères pour la partie locale "},
        {"a@-b.co", "Partie locale commence ou finit par un tiret"},
        {"a@x.b_c.co", "Partie locale caractère invalide: _ dans b_c"},
    };
    for (const auto& c : cases) {
        test::ScriptedAnswerer answerer;
        EXPECT_EQ(mail::ISVALIDEMAILSTRICT(c.address, false), c.message.empty()) << c.address;
        if (c.message.empty()) {
            EXPECT_TRUE(answerer.shown().empty()) << c.address;
        } else {
            ASSERT_EQ(answerer.shown().size(), 1u) << c.address;
            EXPECT_EQ(answerer.shown()[0].text, c.message);
            EXPECT_EQ(answerer.shown()[0].caption, "Courriel ??");
            EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::PlainError);
        }
    }
}

TEST(IsValidEmailStrict, EmptyAllowedAndTotalLengthLimit)
{
    test::ScriptedAnswerer answerer;
    EXPECT_TRUE(mail::ISVALIDEMAILSTRICT("   ", true));
    EXPECT_TRUE(answerer.shown().empty());

    // 64 + 1 + 63 + 1 + 63 + 1 + 61 = 254 characters; one more label letter makes 255.
    const std::string local(64, 'a');
    const std::string label(63, 'b');
    const std::string address254 = local + "@" + label + "." + label + "." + std::string(61, 'c');
    ASSERT_EQ(address254.size(), 254u);
    EXPECT_TRUE(mail::ISVALIDEMAILSTRICT(address254, false));
    EXPECT_EQ(mail::emailProblem(address254 + "c", false), "E-mail total trop long (RFC 5321 limite à 254)");
}

TEST(GetUniqueId, DrawsFromTheFixedAlphabet)
{
    const std::string& alphabet = mail::uniqueIdAlphabet();
    ASSERT_EQ(alphabet.size(), 135u);
    const std::string id = mail::GETUNIQUEID(500);
    ASSERT_EQ(id.size(), 500u);
    EXPECT_EQ(id.find_first_not_of(alphabet), std::string::npos);
    EXPECT_GT(std::set<char>(id.begin(), id.end()).size(), 30u);
    EXPECT_TRUE(mail::GETUNIQUEID(0).empty());
}
