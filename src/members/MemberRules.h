#pragma once
// The register's rules applied by the member dialog when it saves: family name in capitals,
// first name in proper case, blanks cleaned, a token number that is not 0 and, when adding,
// not already taken, a name that does not exist yet, a valid or empty e-mail address.

#include "engine/DbServer.h"
#include "members/Member.h"

#include <cstdint>
#include <string>

namespace derode::members {

inline constexpr const char* kTokenZeroText =
    "\r\n\r\nCe membre/joueur a un jeton d'une\r\nvaleur de ( 0 ), SVP indiquez le bon numéro";
inline constexpr const char* kNameRefusedText =
    "\r\nCe membre existe déjà ou les champs nom ou prénom sont vide ou invalide...\r\n\r\nIL N'A PAS ÉTÉ AJOUTÉ ou MODIFIÉ.\r\n\r\nVérifier le libellé...";
inline constexpr const char* kModifiedText = "\r\n\r\n\r\nCe membre/joueur a été modifié avec succès";
inline constexpr const char* kAddedText = "\r\n\r\n\r\nCe membre/joueur a été ajouté avec succès";
std::string tokenTakenText(int token);

// What the dialog's controls hold.
struct MemberForm {
    std::string familyName;
    std::string firstName;
    bool femme = false;
    bool capitaine = false;
    std::string telephone;
    std::string token;   // as typed, "0" by default
    std::string spouse;
    bool captOcc = false;
    std::string mail;
};

// Capital first letter of each word (words split at blanks and hyphens), the other letters lowered.
std::string properCase(const std::string& text);
// Outer blanks removed and every run of blanks inside reduced to one.
std::string collapseBlanks(const std::string& text);
// Numeric value of a masked number field: leading digits after blanks, 0 when none.
int numericValue(const std::string& text);
// The first name as the dialog shows it back: cut or padded to 20 characters, proper case.
std::string shownFirstName(const std::string& typed);
// The record the form gives.
Member memberFromForm(const MemberForm& form);

struct SaveResult {
    bool saved = false;
    std::uint32_t recordNumber = 0;
    std::string displayName;
};

// Saves the form into `table`: in modify mode over `rememberedRecord`, otherwise as a new record.
// Refusals show their message and leave the table unchanged. The table's order is kept.
SaveResult saveMember(engine::CDBSERVEREX& table, const MemberForm& form, bool toModify,
                      std::uint32_t rememberedRecord);

}  // namespace derode::members
