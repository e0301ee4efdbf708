#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "league/Password.h"
#include "LeagueFixture.h"

using namespace derode;
namespace fs = std::filesystem;

class Password : public test::LeagueTest {
protected:
    Password()
    {
        core::session().currentLeague = "Lundi";
        fs::create_directories(root() / "Lundi");
    }
    fs::path file() const { return root() / "Lundi/System.pwd"; }
};

TEST_F(Password, CipherIsItsOwnInverseAndHidesTheText)
{
    const std::string bytes = core::utf8ToCp1252("MélodiaxRF");
    const std::string enciphered = league::cipherBytes(bytes, "k7m5");
    EXPECT_EQ(enciphered.size(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        EXPECT_NE(enciphered[i], bytes[i]);
    EXPECT_EQ(league::cipherBytes(enciphered, "k7m5"), bytes);
    EXPECT_NE(league::cipherBytes(bytes, "other"), enciphered);
    EXPECT_EQ(league::decipherPassword(league::encipherPassword("MélodiaxRF")), "MélodiaxRF");
    EXPECT_EQ(league::PASSALL(), "k7m5");
}

TEST_F(Password, TheBuiltTemplateDeciphersToTheNewLeaguePassword)
{
    EXPECT_EQ(league::readPasswordFile(std::string(DERODE_PROGRAM_DIR) + "OwnerData/System.pwd"), "MélodiaxRF");
}

TEST_F(Password, MissingOrEmptyFileGivesTheDefaultPassword)
{
    EXPECT_EQ(league::UNCRYPTEX(), "Wq8%nGe2Lp!Zd6r");
    write(file(), "");
    EXPECT_EQ(league::UNCRYPTEX(), "Wq8%nGe2Lp!Zd6r");
    write(file(), league::encipherPassword("secret1"));
    EXPECT_EQ(league::UNCRYPTEX("Lundi"), "secret1");
}

TEST_F(Password, StoringNeedsAnExistingFile)
{
    EXPECT_EQ(league::CRYPTEX("nouveau1"), "");
    EXPECT_FALSE(fs::exists(file()));

    write(file(), league::encipherPassword("ancien"));
    const std::string stored = league::CRYPTEX("nouveau1");
    EXPECT_EQ(stored, league::encipherPassword("nouveau1"));
    EXPECT_EQ(test::bytesOf(file()), stored);
    EXPECT_EQ(league::UNCRYPTEX(), "nouveau1");
}

TEST_F(Password, ChangeChecksTheFieldsInOrder)
{
    write(file(), league::encipherPassword("ancien"));
    core::session().leaguePassword = "ancien";
    struct Case {
        const char* current;
        const char* first;
        const char* second;
        int result;
        const char* message;  // empty: none
    } cases[] = {
        {"Ancien", "nouveau1", "nouveau1", 0, "Le mot de passe existant est invalide"},
        {"ancien", "court", "court", 0,
         "Les deux nouveaux mots de passe ne sont pas identiques, ou n'ont pas le minimum de 6 caractères"},
        {"ancien", "nouveau1", "nouveau2", 0,
         "Les deux nouveaux mots de passe ne sont pas identiques, ou n'ont pas le minimum de 6 caractères"},
        {"ancien", "motdepasse€", "motdepasse€", 1, ""},  // € is in Windows-1252
    };
    for (const auto& c : cases) {
        answerer.clear();
        core::session().leaguePassword = "ancien";
        write(file(), league::encipherPassword("ancien"));
        EXPECT_EQ(league::savePasswordChange(c.current, c.first, c.second), c.result) << c.first;
        if (*c.message) {
            ASSERT_EQ(answerer.shown().size(), 1u);
            EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::PlainError);
            EXPECT_EQ(answerer.shown()[0].caption, "ERREUR");
            EXPECT_EQ(answerer.shown()[0].text, c.message);
            EXPECT_EQ(league::UNCRYPTEX(), "ancien");
        } else {
            EXPECT_TRUE(answerer.shown().empty());
            EXPECT_EQ(league::UNCRYPTEX(), c.first);
            EXPECT_EQ(core::session().leaguePassword, c.first);
        }
    }
    // The master password replaces the current one; a character the file cannot keep is refused.
    core::session().leaguePassword = "ancien";
    write(file(), league::encipherPassword("ancien"));
    EXPECT_EQ(league::savePasswordChange("k7m5", "Ωmega123", "Ωmega123"), 0);
    EXPECT_EQ(league::UNCRYPTEX(), "ancien");
    EXPECT_EQ(league::savePasswordChange("k7m5", "nouveau9", "nouveau9"), 1);
    EXPECT_EQ(league::UNCRYPTEX(), "nouveau9");
}

TEST_F(Password, ChangeWithoutAFileKeepsThePasswordForTheRunAndSaysSo)
{
    core::session().leaguePassword = "Wq8%nGe2Lp!Zd6r";
    EXPECT_EQ(league::savePasswordChange("k7m5", "nouveau1", "nouveau1"), 1);
    EXPECT_EQ(core::session().leaguePassword, "nouveau1");
    EXPECT_FALSE(fs::exists(file()));
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::PlainError);
}

TEST_F(Password, ConfirmationAcceptsLeagueAndMasterPasswordsExactly)
{
    core::session().leaguePassword = "secret1";
    EXPECT_EQ(league::confirmAdministratorAccess("secret1"), 1);
    EXPECT_EQ(league::confirmAdministratorAccess("k7m5"), 1);
    EXPECT_TRUE(answerer.shown().empty());
    EXPECT_EQ(league::confirmAdministratorAccess("secret1 "), 0);
    EXPECT_EQ(answerer.texts(), (std::vector<std::string>{"Le mot de passe est invalide"}));
}
