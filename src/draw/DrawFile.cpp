#include "draw/DrawFile.h"

#include <cctype>

namespace derode::draw {

std::string tokenText(int token) { return std::to_string(token); }

int tokenValue(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1000000)
            break;  // token texts hold three digits; anything longer is no token
    }
    return static_cast<int>(negative ? -value : value);
}

std::string datedDrawFileName(const std::string& isoDate) { return isoDate + ".dbf"; }

std::string currentDrawFilePath(const std::string& leagueFolder) { return leagueFolder + kCurrentDrawFileName; }

std::string datedDrawFilePath(const std::string& leagueFolder, const std::string& isoDate)
{
    return leagueFolder + kDatedDrawFolder + "/" + datedDrawFileName(isoDate);
}

}  // namespace derode::draw
