#pragma once
// What the options dialog shows and saves: five keys of the league's options file, read with the
// dialog's own defaults (they differ from other readers' on purpose) and written in the dialog's
// order. Values are stored as they are, 0 included.

#include <string>

namespace derode::league {

struct OptionsDialogValues {
    int memberListCopies = 0;   // "RapportListMembres", "ListeJoueursCopies"
    int drawSheetCopies = 0;    // "RapportsTirages", "Tirage1Copies"
    int lanes = 0;              // "NombreDeAlles", "Value"
    std::string reportHeading;  // "EnteteRapportsPoints", "Nom"
    int maxPoints = 0;          // "MaxPointsParPartie", "Max"
};

OptionsDialogValues readOptionsForDialog(const std::string& league);
// Writes member-list copies, draw-sheet copies, lanes, heading, maximum, in that order.
// False when the options file could not be written.
bool writeOptionsFromDialog(const std::string& league, const OptionsDialogValues& values);

}  // namespace derode::league
