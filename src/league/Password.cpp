#include "league/Password.h"

#include "core/AtomicFile.h"
#include "core/Encoding.h"
#include "core/Locations.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Text.h"

#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace derode::league {

namespace {

constexpr const char* kMasterPassword = "k7m5";

std::string passwordFileOf(const std::string& league)
{
    return core::locations().leagueFolder(league) + kPasswordFileName;
}

bool openableForReadWrite(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void showPlainError(const std::string& text)
{
    core::showMessage({core::MessageKind::PlainError, text, "ERREUR"});
}

}  // namespace

std::string PASSALL() { return kMasterPassword; }

std::string cipherBytes(const std::string& bytes, const std::string& key)
{
    // Key stream: a 64-bit linear congruential generator seeded with the FNV-1a hash of the key.
    std::uint64_t state = 1469598103934665603ULL;
    for (unsigned char c : key) {
        state ^= c;
        state *= 1099511628211ULL;
    }
    std::string out = bytes;
    for (char& c : out) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        unsigned char k = static_cast<unsigned char>(state >> 56);
        if (k == 0)
            k = 0x5A;  // never leave a byte as it was
        c = static_cast<char>(static_cast<unsigned char>(c) ^ k);
    }
    return out;
}

std::string encipherPassword(const std::string& password)
{
    return cipherBytes(core::utf8ToCp1252(password), PASSALL());
}

std::string decipherPassword(const std::string& content)
{
    return core::cp1252ToUtf8(cipherBytes(content, PASSALL()));
}

std::string readPasswordFile(const std::string& path)
{
    std::string content;
    if (!openableForReadWrite(path) || !core::readFile(path, content))
        return kDefaultPassword;
    std::string password = decipherPassword(content);
    return password.empty() ? std::string(kDefaultPassword) : password;
}

bool writePasswordFile(const std::string& path, const std::string& password)
{
    if (!openableForReadWrite(path))
        return false;
    return core::writeFileAtomically(path, encipherPassword(password));
}

std::string UNCRYPTEX() { return UNCRYPTEX(core::session().currentLeague); }

std::string UNCRYPTEX(const std::string& league) { return readPasswordFile(passwordFileOf(league)); }

std::string CRYPTEX(const std::string& password)
{
    if (!writePasswordFile(passwordFileOf(core::session().currentLeague), password))
        return {};
    return encipherPassword(password);
}

bool isAcceptedPassword(const std::string& typed)
{
    return typed == core::session().leaguePassword || typed == PASSALL();
}

int savePasswordChange(const std::string& current, const std::string& newPassword, const std::string& repeated)
{
    if (!isAcceptedPassword(current)) {
        showPlainError("Le mot de passe existant est invalide");
        return 0;
    }
    if (newPassword != repeated || core::length(newPassword) < kMinimumPasswordLength) {
        showPlainError("Les deux nouveaux mots de passe ne sont pas identiques, ou n'ont pas le minimum de 6 "
                       "caractères");
        return 0;
    }
    // The file keeps Windows-1252 bytes: a character outside it would come back as "?" and the
    // password would no longer open the league at the next start.
    if (core::cp1252ToUtf8(core::utf8ToCp1252(newPassword, '\x01')) != newPassword) {
        showPlainError("Le nouveau mot de passe contient un caractère qui ne peut pas être enregistré.\r\n"
                       "Utilisez des lettres, des chiffres et les signes usuels.");
        return 0;
    }
    const bool stored = !CRYPTEX(newPassword).empty();
    core::session().leaguePassword = newPassword;
    if (!stored)
        showPlainError("Le nouveau mot de passe n'a pas pu être enregistré dans le fichier de la ligue.\r\n"
                       "Il restera valable jusqu'à la fermeture du programme seulement.");
    return 1;
}

int confirmAdministratorAccess(const std::string& typed)
{
    if (isAcceptedPassword(typed))
        return 1;
    showPlainError("Le mot de passe est invalide");
    return 0;
}

}  // namespace derode::league
