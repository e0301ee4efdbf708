#pragma once
// Every setting of the program in one table: the keys of the league options file, of the
// remembered-league file and of the per-user registry key, each with the default of every reader.
// The defaults differ between readers of the same key on purpose: each reader keeps its own.
// Nothing is cached; readers build a CINIFILE on the file's path at each use.

#include "core/Registry.h"

#include <string>

namespace derode::core {

struct IniKey {
    const char* section;
    const char* key;
};

namespace settings {

// League options, league folder + "DezovuziOptions.ini".
inline constexpr const char* kOptionsFileName = "DezovuziOptions.ini";

// Heading printed on reports and points sheets (text). Written by the options dialog.
inline constexpr IniKey kReportHeading{"EnteteRapportsPoints", "Nom"};
inline constexpr const char* kReportHeadingDefaultOptionsDialog = "";
inline constexpr const char* kReportHeadingDefaultMemberListPrint = "";
inline constexpr const char* kReportHeadingDefaultStandings = "Pétanque";

// Copies of the printed member list. Written by the options dialog.
inline constexpr IniKey kMemberListCopies{"RapportListMembres", "ListeJoueursCopies"};
inline constexpr int kMemberListCopiesDefaultOptionsDialog = 1;
inline constexpr int kMemberListCopiesDefaultMemberListPrint = 1;

// Copies of the draw sheet of game 1. Written by the options dialog.
inline constexpr IniKey kDrawSheet1Copies{"RapportsTirages", "Tirage1Copies"};
inline constexpr int kDrawSheet1CopiesDefaultOptionsDialog = 2;
inline constexpr int kDrawSheet1CopiesDefaultDrawPrinting = 2;
inline constexpr int kDrawSheet1CopiesDefaultReprint = 2;

// Copies of the draw sheet of game 2 when the last draw is reprinted. Written by nobody.
inline constexpr IniKey kDrawSheet2Copies{"RapportsTirages", "Tirage2Copies"};
inline constexpr int kDrawSheet2CopiesDefaultReprint = 1;

// Heading of the draw sheets. Written by nobody.
inline constexpr IniKey kDrawSheetHeading{"RapportsTirages", "Entete"};
inline constexpr const char* kDrawSheetHeadingDefaultDrawPrinting = "Pétanque";
inline constexpr const char* kDrawSheetHeadingDefaultReprint = "Pétanque";

// Number of lanes ("allées / Tapis"). Written by the options dialog.
inline constexpr IniKey kLanes{"NombreDeAlles", "Value"};
inline constexpr int kLanesDefaultOptionsDialog = 12;
inline constexpr int kLanesDefaultDrawFeasibility = 4;
inline constexpr int kLanesDefaultBlankSheet = 4;

// Maximum points of one team in one game. Written by the options dialog.
inline constexpr IniKey kMaxPoints{"MaxPointsParPartie", "Max"};
inline constexpr int kMaxPointsDefaultOptionsDialog = 13;
inline constexpr int kMaxPointsDefaultPointsEntry = 13;

// The league used last, data root + "RecenteLigue.ini". Read by the login dialog (default
// empty), written when the user enters.
inline constexpr const char* kRecentLeagueFileName = "RecenteLigue.ini";
inline constexpr IniKey kRecentLeague{"DerniereLigueUtilise", "NomDeLigue"};
inline constexpr const char* kRecentLeagueDefault = "";

// Per-user registry key. After start-up the working subkey of the parameters key is
// kParametersPath and every access passes one of the three subkeys below.
inline constexpr const char* kProgramKeyPath = "SOFTWARE\\Devared\\Derode";
inline constexpr const char* kParametersSubkey = "Parameters";
inline constexpr const char* kParametersPath = "SOFTWARE\\Devared\\Derode\\Parameters";

inline constexpr const char* kWindowCoordSubkey = "Window-Coord";
inline constexpr const char* kWindowX = "x";
inline constexpr const char* kWindowY = "y";
inline constexpr const char* kWindowWidth = "x1";
inline constexpr const char* kWindowHeight = "y1";
inline constexpr const char* kWindowMaximisedSubkey = "Window-Maximised";
inline constexpr const char* kWindowMaximised = "Maximised";
// Written on the first run.
inline constexpr int kFirstRunX = 147;
inline constexpr int kFirstRunY = 90;
inline constexpr int kFirstRunWidth = 568;
inline constexpr int kFirstRunHeight = 337;
inline constexpr int kFirstRunMaximised = 0;
// Stored at close instead of a placement with a negative coordinate or size.
inline constexpr int kFallbackX = 95;
inline constexpr int kFallbackY = 72;
inline constexpr int kFallbackWidth = 544;
inline constexpr int kFallbackHeight = 320;

// Sender of the mail-to-all dialog (strings, no default: read as empty until written).
inline constexpr const char* kMailSubkey = "Parameters";
inline constexpr const char* kMailName = "MailName";
inline constexpr const char* kMailAddress = "MailNameCourriel";

}  // namespace settings

// Path of a league's options file.
std::string leagueOptionsFile(const std::string& league);
// Path of the remembered-league file in the data root.
std::string recentLeagueFile();

// Opens the program's per-user key on the store file (the run's store when empty): working
// subkey "SOFTWARE\\Devared\\Derode"; when its subkey "Parameters" is missing (first run) calls
// WRITEREGISTRY, else moves the working subkey to "SOFTWARE\\Devared\\Derode\\Parameters".
CLASS_HKCU CHECKREGISTERYSTUFF(const std::string& storeFile = {});
// Creates "Parameters", moves the working subkey into it and writes the first-run window values
// in the order x, y, x1, y1, Maximised. True.
bool WRITEREGISTRY(_CLASS_REGISTRY& key);

// Placement of the main window. Convention, for reading at start-up and writing at close alike:
// (x, y) is the top-left corner of the window's frame in screen coordinates (QWidget::pos() and
// move()), width and height the size of the window without its frame (QWidget::size() and
// resize()).
struct WindowPlacement {
    bool maximised = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Reads "Maximised", and the four coordinates (a value that cannot be read is 0).
WindowPlacement readWindowPlacement(_CLASS_REGISTRY& parametersKey);
// Stores the placement of the closing window: maximised writes only "Maximised" = 1 and leaves the
// coordinates as they were; otherwise the four coordinates (95, 72, 544, 320 instead when any of
// them is negative) then "Maximised" = 0.
void writeWindowPlacement(_CLASS_REGISTRY& parametersKey, const WindowPlacement& closing);

}  // namespace derode::core
