#include "core/OperationProgress.h"
#include "core/Session.h"
#include "league/Leagues.h"
#include "league/Login.h"
#include "league/Password.h"
#include "LeagueFixture.h"

#include <fstream>

using namespace derode;
namespace fs = std::filesystem;

class Leagues : public test::LeagueTest {
protected:
    Leagues()
    {
        // Our own templates, so that the test does not depend on what the build made.
        fs::remove_all(owner());
        for (const auto& [source, target] : league::leagueTemplates())
            write(owner() / source, "template " + source);
        write(owner() / "System.pwd", league::encipherPassword(league::kNewLeaguePassword));
        core::session().leaguePassword = league::kNewLeaguePassword;
    }

    void makeLeague(const std::string& name, const std::string& password)
    {
        write(root() / name / "System.pwd", league::encipherPassword(password));
        core::session().leagueList.push_back(name);
    }
};

TEST_F(Leagues, InvalidFileNameCharRemovesTheFirstRefusedCharacter)
{
    struct Case {
        const char* text;
        std::size_t position;
        const char* result;
    } cases[] = {
        {"Ligue/Lundi", 6, "LigueLundi"},
        {"a:b*c?", 2, "ab*c?"},  // ":" is looked for before "*" and "?"
        {"ab*c?", 3, "abc?"},
        {"abc?", 4, "abc"},
        {"abc", 3, "abc"},
        {"Été\\x", 4, "Étéx"},  // positions count characters
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        auto [position, text] = league::INVALIDFILENAMECHAR(c.text);
        EXPECT_EQ(position, c.position) << c.text;
        EXPECT_EQ(text, c.result) << c.text;
    }
}

TEST_F(Leagues, CreateCopiesTheTemplatesAndSkipsMissingOnes)
{
    fs::remove(owner() / "rapport.cdx");
    fs::remove_all(root());  // first league on this computer: no data root yet
    EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Create, "MélodiaxRF", "  Lundi "), 1);
    EXPECT_TRUE(answerer.shown().empty());
    EXPECT_EQ(core::session().currentLeague, "Lundi");
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"Lundi"}));
    EXPECT_TRUE(fs::is_directory(root() / "Lundi/PartiesParDates"));
    for (const char* name : {"membres-2.cdx", "membres-2.dbf", "partie1-2.dbf", "DezovuziOptions.ini", "Rapport.Dbf",
                             "Rapportfinal.Dbf", "System.pwd"})
        EXPECT_TRUE(fs::exists(root() / "Lundi" / name)) << name;
    EXPECT_FALSE(fs::exists(root() / "Lundi/rapport.cdx"));
    EXPECT_EQ(league::UNCRYPTEX("Lundi"), "MélodiaxRF");
    EXPECT_EQ(league::readLeagueList(), (std::vector<std::string>{"Lundi"}));
}

TEST_F(Leagues, CreateRefusalsNeverTouchTheDisk)
{
    makeLeague("Lundi", "secret1");
    write(root() / "Lundi/membres-2.dbf", "our members");
    core::session().leaguePassword = "secret1";
    struct Case {
        const char* password;
        std::string name;
        bool message;
    } cases[] = {
        {"faux", "Mardi", true},       {"secret1", "   ", false},      {"secret1", ".", true},
        {"secret1", "..", true},       {"secret1", "a/b", true},       {"secret1", std::string("a\0b", 3), true},
        {"secret1", "lundi", true},    {"k7m5", "Lundi", true},
    };
    const auto before = league::readLeagueList();
    for (const auto& c : cases) {
        answerer.clear();
        EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Create, c.password, c.name), 0) << c.name;
        EXPECT_EQ(answerer.shown().size(), c.message ? 1u : 0u) << c.name;
    }
    EXPECT_EQ(answerer.shown().back().text,
              "Une ligue nommée « Lundi » existe déjà : ses fichiers ne seront pas remplacés. Choisissez un autre nom.");
    EXPECT_EQ(league::readLeagueList(), before);
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"Lundi"}));
    EXPECT_TRUE(fs::exists(where.dir().path()));  // ".." was never created nor deleted

    // Called straight on an existing league, creation only adds the files it lacks.
    EXPECT_TRUE(league::CREATENEWLIGUE("Lundi"));
    EXPECT_TRUE(fs::exists(root() / "Lundi/partie1-2.dbf"));
    std::ifstream in(root() / "Lundi/membres-2.dbf");
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "our members");
    EXPECT_EQ(league::UNCRYPTEX("Lundi"), "secret1");
}

TEST_F(Leagues, RenameMovesTheFolderAndKeepsThePassword)
{
    makeLeague("A", "secretA");
    makeLeague("C", "secretC");
    league::makeLeagueCurrent("A");
    EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Rename, "secretA", "B"), 2);
    EXPECT_TRUE(league::renameLeague("A", "B"));
    EXPECT_FALSE(fs::exists(root() / "A"));
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(core::session().currentLeague, "B");
    EXPECT_EQ(core::session().leaguePassword, "secretA");

    // Onto an existing league: fails, says so, changes nothing.
    EXPECT_FALSE(league::renameLeague("B", "C"));
    EXPECT_FALSE(league::renameLeague("B", "c"));
    EXPECT_EQ(answerer.shown().size(), 2u);
    EXPECT_EQ(league::UNCRYPTEX("B"), "secretA");
    EXPECT_EQ(league::UNCRYPTEX("C"), "secretC");
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"B", "C"}));

    // Names that would leave the data root are refused before any file operation.
    answerer.clear();
    EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Rename, "secretA", ".."), 0);
    EXPECT_FALSE(league::renameLeague("B", "../B"));
    EXPECT_FALSE(league::renameLeague("..", "X"));
    EXPECT_EQ(answerer.shown().size(), 3u);
    EXPECT_TRUE(fs::exists(root() / "B"));
}

TEST_F(Leagues, DeleteRemovesTheFolderAndMovesTheSelection)
{
    makeLeague("Lundi", "secretL");
    makeLeague("Jeudi", "secretJ");
    league::makeLeagueCurrent("Lundi");
    EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Delete, "secretL", "Lundi"), 3);
    EXPECT_TRUE(league::deleteLeague("Lundi"));
    EXPECT_FALSE(fs::exists(root() / "Lundi"));
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"Jeudi"}));
    EXPECT_EQ(core::session().currentLeague, "Jeudi");
    EXPECT_EQ(core::session().leaguePassword, "secretJ");

    EXPECT_TRUE(league::deleteLeague("Jeudi"));
    EXPECT_TRUE(core::session().leagueList.empty());
    EXPECT_EQ(core::session().currentLeague, "");
    EXPECT_EQ(core::session().leaguePassword, "MélodiaxRF");
    EXPECT_TRUE(fs::exists(root()));

    EXPECT_FALSE(league::deleteLeague("Jeudi"));  // already gone: a message, nothing else
    EXPECT_FALSE(league::deleteLeague(".."));
    EXPECT_FALSE(league::deleteLeague(""));
    EXPECT_EQ(answerer.shown().size(), 3u);
    EXPECT_TRUE(fs::exists(where.dir().path()));
}

// Stands for the run's progress dialog: records what it is shown, cancels when told to.
class RecordingProgress : public core::OperationProgressPresenter {
public:
    RecordingProgress() { core::setOperationProgressPresenter(this); }
    ~RecordingProgress() override { core::setOperationProgressPresenter(nullptr); }
    core::OperationProgress start(const std::string& caption) override
    {
        captions.push_back(caption);
        return [this](const std::string& item, std::size_t, std::size_t) {
            items.push_back(item);
            return !cancel;
        };
    }
    std::vector<std::string> captions;
    std::vector<std::string> items;
    bool cancel = false;
};

TEST_F(Leagues, RenameAndDeleteShowTheRunsProgressAndItsCancelChangesNothing)
{
    makeLeague("A", "secretA");
    makeLeague("C", "secretC");
    league::makeLeagueCurrent("A");
    RecordingProgress progress;

    progress.cancel = true;
    EXPECT_FALSE(league::renameLeague("A", "B"));
    EXPECT_FALSE(league::deleteLeague("C"));
    EXPECT_TRUE(fs::exists(root() / "A/System.pwd"));
    EXPECT_TRUE(fs::exists(root() / "C/System.pwd"));
    EXPECT_FALSE(fs::exists(root() / "B"));
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(core::session().currentLeague, "A");
    EXPECT_TRUE(answerer.shown().empty());  // the user's own choice: no failure message
    EXPECT_EQ(progress.items, (std::vector<std::string>{(root() / "A").string(), (root() / "C").string()}));

    progress.cancel = false;
    progress.items.clear();
    EXPECT_TRUE(league::renameLeague("A", "B"));
    EXPECT_TRUE(league::deleteLeague("C"));
    EXPECT_EQ(progress.items, (std::vector<std::string>{(root() / "A").string(), "", (root() / "C").string(), ""}));
    EXPECT_EQ(progress.captions,
              (std::vector<std::string>{"Changement du nom de la ligue", "Suppression de la ligue",
                                        "Changement du nom de la ligue", "Suppression de la ligue"}));
    EXPECT_EQ(core::session().leagueList, (std::vector<std::string>{"B"}));
    EXPECT_TRUE(fs::exists(root() / "B/System.pwd"));
    EXPECT_FALSE(fs::exists(root() / "C"));
}

TEST_F(Leagues, ListShowsPlainFoldersInAlphabeticalOrder)
{
    for (const char* name : {"mardi", "Été", "Jeudi", ".cachee"})
        fs::create_directories(root() / name);
    write(root() / "RecenteLigue.ini", "");
    EXPECT_EQ(league::readLeagueList(), (std::vector<std::string>{"Été", "Jeudi", "mardi"}));
    fs::remove_all(root());
    EXPECT_TRUE(league::readLeagueList().empty());
}

TEST_F(Leagues, LoginPreselectsTheRememberedLeagueOrTheFirst)
{
    makeLeague("Lundi", "secretL");
    makeLeague("Jeudi", "secretJ");
    league::LoginListState state = league::openLogin();
    EXPECT_EQ(state.entries, (std::vector<std::string>{"Jeudi", "Lundi"}));
    EXPECT_EQ(state.selected, 0);
    EXPECT_EQ(core::session().leaguePassword, "secretJ");

    league::selectLeague("Lundi");
    EXPECT_EQ(league::enterAsNormalUser(), 1);
    state = league::openLogin();
    EXPECT_EQ(state.selected, 1);
    EXPECT_EQ(core::session().currentLeague, "Lundi");
    EXPECT_EQ(core::session().leaguePassword, "secretL");

    fs::remove(root() / "RecenteLigue.ini");
    EXPECT_EQ(league::openLogin().selected, 0);
}

TEST_F(Leagues, AdministratorEntryNeedsTheSelectedLeaguesPassword)
{
    makeLeague("Lundi", "secretL");
    makeLeague("Jeudi", "secretJ");
    league::openLogin();
    league::selectLeague("Lundi");
    EXPECT_EQ(league::enterAsAdministrator("secretJ"), 0);
    EXPECT_EQ(league::enterAsAdministrator("secretl"), 0);
    EXPECT_EQ(answerer.texts(), (std::vector<std::string>(2, "\r\n\r\n\r\nMot de passe invalide")));
    EXPECT_EQ(answerer.shown()[0].kind, core::MessageKind::Error);
    EXPECT_FALSE(fs::exists(root() / "RecenteLigue.ini"));  // nothing remembered before entering
    EXPECT_EQ(league::enterAsAdministrator("secretL"), 2);
    EXPECT_EQ(league::readRecentLeague(), "Lundi");
    EXPECT_EQ(league::enterAsAdministrator("k7m5"), 2);

    EXPECT_TRUE(league::applyLoginResult(2));
    EXPECT_TRUE(core::session().isAdministrator);
    EXPECT_TRUE(league::applyLoginResult(1));
    EXPECT_FALSE(core::session().isAdministrator);
    EXPECT_FALSE(league::applyLoginResult(0));
}

TEST_F(Leagues, WithoutLeagueOnlyCreationIsOffered)
{
    fs::remove_all(root());
    league::LoginListState state = league::openLogin();
    EXPECT_TRUE(state.entries.empty());
    EXPECT_EQ(state.selected, -1);
    EXPECT_FALSE(state.leagueAvailable);
    EXPECT_EQ(core::session().leaguePassword, "MélodiaxRF");
    EXPECT_EQ(league::enterAsNormalUser(), 0);
    EXPECT_EQ(league::enterAsAdministrator("k7m5"), 0);
    EXPECT_EQ(league::loginNoteText(), "Lors d'un ajout d'une nouvelle ligue, le mot passe est [ MélodiaxRF ]. Il devra "
                                       "être changé par la suite, par l'administrateur.");

    EXPECT_EQ(league::leagueDialogAction(league::LeagueDialogMode::Create, "MélodiaxRF", "Lundi"), 1);
    state = league::refreshLogin("Lundi");
    EXPECT_TRUE(state.leagueAvailable);
    EXPECT_EQ(state.entries, (std::vector<std::string>{"Lundi"}));
    EXPECT_EQ(core::session().leaguePassword, "MélodiaxRF");
    EXPECT_EQ(league::enterAsAdministrator("MélodiaxRF"), 2);
}
