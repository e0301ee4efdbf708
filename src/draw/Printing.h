#pragma once
// Putting draws on paper: the draw sheets of the current draw (which makes the draw official by
// saving it as the dated draw file of the day), the reprint of the last draw under its own date,
// and the blank sheet filled in by hand. The rules live here; the windows only show the outcome.
// Every print goes through the report engine (reports/Report.h) and its installed output.

#include <optional>
#include <string>

namespace derode::draw {

inline constexpr const char* kDrawSheetTemplate = "CommonData/Partie1-3.RPT";
inline constexpr const char* kBlankSheetTemplate = "CommonData/Blank-2.RPT";
inline constexpr const char* kBlankTable = "blank.dbf";
inline constexpr const char* kCurrentDrawFile = "partie1-2.dbf";
inline constexpr const char* kDatedFolder = "PartiesParDates";

enum class DatedCopy {
    Written,  // the dated file now holds the current draw
    Kept,     // the dated file held points and the user answered "Non": left as it was
    Failed,   // the copy could not be made (reported); an old dated file is intact
};

// Copies the league's current draw file to "PartiesParDates/<date>.dbf" through a temporary file
// renamed into place. An existing dated file holding points (any of fields 17 to 20 not 0, or
// unreadable) is only replaced after a "Oui".
DatedCopy saveDatedCopy(const std::string& leagueFolder, const std::string& date);

// Whether a draw file holds points in any visible record; also true when it cannot be read,
// so that nothing unknown is replaced without asking.
bool drawFileHoldsPoints(const std::string& path);

enum class PrintOutcome {
    NotPrinted,    // the user closed the preview or the print failed: nothing saved
    Saved,         // printed (or the template did not load) and the dated copy was written
    KeptExisting,  // printed; the existing dated file holding points was kept on "Non"
    CopyFailed,    // printed; the dated copy failed (reported)
    Declined,      // reprint: no current draw file, or the user answered "Non"
};

// `CPUSHIMPRIMERTIRAGES`: prints the draw sheets of the current draw with today's date ("YYYY-MM-DD")
// and saves the dated copy of that date. The draw window sets its printed flag on Saved.
PrintOutcome printDrawSheets(const std::string& league, const std::string& today);

// Last-write date ("YYYY-MM-DD") and local time ("HH:MM:SS", seconds rounded) of a file.
struct FileStamp {
    std::string date;
    std::string time;
};
std::optional<FileStamp> fileStamp(const std::string& path);

// The question of the reprint, naming the draw file's date and time.
std::string reprintQuestion(const FileStamp& stamp);

// `MENU_REIMPRESSIONDERNIERTIRAGE`: asks, prints the current draw under its file's date and saves
// the dated copy of that date.
PrintOutcome reprintLastDraw(const std::string& league);

enum class BlankSheetOutcome {
    Printed,
    NotPrinted,        // closed without printing, or the template did not load
    TableUnavailable,  // "blank.dbf" could not be opened exclusively or rewritten: nothing printed
};

// Empties the table and appends `lanes` records whose first field is one blank; false (and a
// reason) when it cannot be opened exclusively, in which case nothing was written.
bool prepareBlankTable(const std::string& path, int lanes, std::string* error = nullptr);

// `MENU_BLANKSHEET`: one empty line per lane of the league ("NombreDeAlles").
BlankSheetOutcome printBlankSheet(const std::string& league);

// Today's local date as "YYYY-MM-DD".
std::string todayText();

}  // namespace derode::draw
