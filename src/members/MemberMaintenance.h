#pragma once
// Whole-table work on the member register that needs exclusive use: the maintenance command
// (family names capitalised, nameless records removed, index rebuilt), erasing all members and
// the deferred pack after a delete in the browser.

#include <string>

namespace derode::members {

inline constexpr const char* kCannotWriteText =
    "Le programme ne peut pas écrire dans la base de données des membres... \r\n\r\nSVP, avisez l'admistrateur ou le concepteur du programme";
inline constexpr const char* kCannotPackText =
    "Le programme ne peut pas effacer dans la base de données des membres... \r\n\r\nSVP, avisez l'admistrateur ou le concepteur du programme";
inline constexpr const char* kCannotReindexText =
    "Le programme ne peut pas recréer l'index dans la base de données des membres... \r\n\r\nSVP, avisez l'admistrateur ou le concepteur du programme";
inline constexpr const char* kMaintenanceDoneText = "L'entretien de la base de données a été faite avec succès";

// Maintenance of the member table at `tablePath`, with its messages. True when it completed.
bool cleanMemberTable(const std::string& tablePath);
// The main window's maintenance command, on the current league.
void MENU_CLEANMEMBERS();

// Removes every record. False, without a message, when the table cannot be opened exclusively.
bool eraseAllMembers(const std::string& tablePath);

// Physically removes the records marked deleted when nobody else holds the table; otherwise
// leaves them hidden for the next maintenance. Never shows a message.
bool packIfExclusive(const std::string& tablePath);

}  // namespace derode::members
