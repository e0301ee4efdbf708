#pragma once
// The options dialog's rules: the fields it shows with their defaults, the value of a masked
// two-digit field, and the order in which it saves to the league's options file.

#include <string>

namespace derode::league {

// The fields as the dialog shows them (numbers as decimal text).
struct OptionFields {
    std::string memberListCopies;  // control 110, "ListeJoueursCopies"
    std::string drawCopies;        // control 109, "Tirage1Copies"
    std::string lanes;             // control 111, "Value" of "NombreDeAlles"
    std::string heading;           // control 102, "Nom" of "EnteteRapportsPoints"
    std::string maxPoints;         // control 112, "Max"
};

// The input mask of the four number fields: at most two digits.
inline constexpr const char* kTwoDigitMask = "99";

// Reads the league's options file with the dialog's own defaults (1, 2, 12, empty, 13).
OptionFields loadOptionFields(const std::string& league);
// The number a masked field holds: its digits (blanks of the mask ignored), at most two; an
// empty field, or one holding anything else, is 0.
int twoDigitFieldValue(const std::string& text);
// "Sauvegarder": writes 110, 109, 111 as numbers, 102 as text, 112 as a number, in this order.
// 0 is stored like any value. False, after telling the user, when the file could not be written.
bool saveOptionFields(const std::string& league, const OptionFields& fields);

}  // namespace derode::league
