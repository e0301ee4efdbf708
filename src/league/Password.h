#pragma once
// The administrator password of a league: kept enciphered in the league's "System.pwd" (the
// cipher's output and nothing else), with a master password accepted wherever a league password
// is asked. The cipher is our own keyed stream over the Windows-1252 bytes of the password; it
// is its own inverse, so enciphering the stored bytes with the same key gives the password back.

#include <string>

namespace derode::league {

inline constexpr const char* kPasswordFileName = "System.pwd";
// Returned when a league's password file cannot be read or deciphers to nothing.
inline constexpr const char* kDefaultPassword = "Wq8%nGe2Lp!Zd6r";
// The password of a new league: what the template "OwnerData/System.pwd" deciphers to.
inline constexpr const char* kNewLeaguePassword = "MélodiaxRF";
inline constexpr std::size_t kMinimumPasswordLength = 6;

// The master password, also the cipher's key.
std::string PASSALL();

// Enciphers or deciphers (the same operation) Windows-1252 bytes with `key` (UTF-8).
std::string cipherBytes(const std::string& bytes, const std::string& key);
// The file content for a password (UTF-8 in, enciphered Windows-1252 bytes out), and back.
std::string encipherPassword(const std::string& password);
std::string decipherPassword(const std::string& content);

// The password kept in a password file: the default password when the file cannot be opened for
// reading and writing, cannot be read, or deciphers to an empty text.
std::string readPasswordFile(const std::string& path);
// Stores a password into an existing, writable password file (replaced atomically). A missing
// or read-only file is never created or changed: false.
bool writePasswordFile(const std::string& path, const std::string& password);

// The password of the current league (core::session()), or of `league`.
std::string UNCRYPTEX();
std::string UNCRYPTEX(const std::string& league);
// Stores the password for the current league; returns the enciphered text, empty when it could
// not be stored.
std::string CRYPTEX(const std::string& password);

// Whether a typed password opens the current league: exactly its password, or the master one.
bool isAcceptedPassword(const std::string& typed);

// "Sauvegarder" of the password change dialog: checks the fields, shows the error box of the
// first broken rule and returns 0 (the dialog stays open), or stores the new password, makes it
// the league's password for the run and returns 1 (the dialog ends with 1). When the file cannot
// take it, the dialog says so; the new password is in force until the end of the run anyway.
int savePasswordChange(const std::string& current, const std::string& newPassword, const std::string& repeated);

// "OK" of the confirmation dialog: 1 when the password is accepted; else shows
// "Le mot de passe est invalide" and returns 0 (the dialog empties the field and stays open).
int confirmAdministratorAccess(const std::string& typed);
// The confirmation dialog's warning when its caller gives none.
inline constexpr const char* kAccessWarning =
    "ATTENTION... Vous allez effacer des parties, il ne sera pas possible de les récupérer. VOUS DEVEZ ÊTRE "
    "CERTAIN de ce que vous faites...";

}  // namespace derode::league
