#include "mail/MailText.h"

#include "core/Encoding.h"
#include "core/Messages.h"
#include "core/Text.h"

#include <random>
#include <vector>

namespace derode::mail {

namespace {

// The characters the mail file encodes; every other one passes unchanged.
bool isEncoded(char32_t c)
{
    static const std::u32string encoded = U"éÉà¦«·»¼½ÀÇÈÊËÌÍÎÏâçèêïô÷öÖóäüùûúëÜÙÚÛñð¿¡î~=><?";
    return encoded.find(c) != std::u32string::npos;
}

std::vector<char32_t> codePoints(const std::string& text)
{
    std::vector<char32_t> out;
    std::size_t pos = 0;
    while (pos < text.size())
        out.push_back(core::decodeUtf8(text, pos));
    return out;
}

std::string utf8(char32_t c)
{
    std::string out;
    core::appendUtf8(out, c);
    return out;
}

bool inSet(char32_t c, const char* set)
{
    return c < 0x80 && c != 0 && std::string(set).find(static_cast<char>(c)) != std::string::npos;
}

constexpr const char* kLocalSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._%+-";
constexpr const char* kTldSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr const char* kLabelSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";

using Chars = std::vector<char32_t>;

std::string join(const Chars& chars, std::size_t from, std::size_t to)
{
    std::string out;
    for (std::size_t i = from; i < to && i < chars.size(); ++i)
        core::appendUtf8(out, chars[i]);
    return out;
}

bool containsDoubleDot(const Chars& chars)
{
    for (std::size_t i = 1; i < chars.size(); ++i)
        if (chars[i] == '.' && chars[i - 1] == '.')
            return true;
    return false;
}

}  // namespace

std::string STRING2ISO_8859_1(const std::string& text, bool headerForm)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out = headerForm ? " =?iso-8859-1?Q?" : "";
    for (char32_t c : codePoints(text)) {
        if (c == ' ' && headerForm) {
            out += '_';
        } else if (isEncoded(c)) {
            out += '=';
            out += hex[(c >> 4) & 0xF];
            out += hex[c & 0xF];
        } else {
            core::appendUtf8(out, c);
        }
    }
    if (headerForm)
        out += "?=";
    return out;
}

std::optional<std::string> emailProblem(const std::string& address, bool emptyAllowed)
{
    const Chars text = codePoints(core::trim(address));
    if (text.empty()) {
        if (emptyAllowed)
            return std::nullopt;
        return "E-mail vide";
    }
    if (text.size() > 254)
        return "E-mail total trop long (RFC 5321 limite à 254)";

    std::size_t at = 0;
    while (at < text.size() && text[at] != '@')
        ++at;
    if (at == text.size() || at == 0 || at == text.size() - 1)
        return "Position de @ invalide";
    for (std::size_t i = at + 1; i < text.size(); ++i)
        if (text[i] == '@')
            return "Multiple @";

    const Chars local(text.begin(), text.begin() + static_cast<long>(at));
    const Chars domain(text.begin() + static_cast<long>(at) + 1, text.end());

    if (local.empty() || local.size() > 64)
        return "Partie locale vide ou trop longue";
    if (local.front() == '.' || local.back() == '.')
        return "Partie locale vide ommence ou finit par un point";
    if (containsDoubleDot(local))
        return "Partie locale, deux points consécutifs";
    for (char32_t c : local)
        if (!inSet(c, kLocalSet))
            return "Partie locale caractère invalide : " + (c == ' ' ? std::string("Espace") : utf8(c));

    if (domain.empty() || domain.size() > 253)
        return "Domaine vide ou trop long";
    if (domain.front() == '.' || domain.back() == '.')
        return "Domaine commence ou finit par un point";
    if (containsDoubleDot(domain))
        return "Domaine, deux points consécutifs";
    std::size_t lastDot = domain.size();
    for (std::size_t i = domain.size(); i-- > 0;)
        if (domain[i] == '.') {
            lastDot = i;
            break;
        }
    if (lastDot == domain.size() || lastDot == 0)
        return "Pas de point, ou point au tout début du domaine (ex: .com) ";
    if (domain.size() - lastDot - 1 < 2)
        return "(Top-Level Domain) trop court (ex: example.c) ";
    for (std::size_t i = lastDot + 1; i < domain.size(); ++i)
        if (!inSet(domain[i], kTldSet))
            return "Top-Level Domain caractère non-alpha : " + utf8(domain[i]);

    std::size_t start = 0;
    while (start <= lastDot) {
        std::size_t end = start;
        while (end < lastDot && domain[end] != '.')
            ++end;
        const Chars label(domain.begin() + static_cast<long>(start), domain.begin() + static_cast<long>(end));
        if (label.empty())
            return "Partie locale vide ";
        if (label.size() > 63)
            return "Partie locale trop long, lLimite RFC de 63 caractères pour la partie locale ";
        if (label.front() == '-' || label.back() == '-')
            return "Partie locale commence ou finit par un tiret";
        for (char32_t c : label)
            if (!inSet(c, kLabelSet))
                return "Partie locale caractère invalide: " + utf8(c) + " dans " + join(label, 0, label.size());
        start = end + 1;
    }
    return std::nullopt;
}

bool ISVALIDEMAILSTRICT(const std::string& address, bool emptyAllowed)
{
    const std::optional<std::string> problem = emailProblem(address, emptyAllowed);
    if (!problem)
        return true;
    core::showMessage({core::MessageKind::PlainError, *problem, kEmailCaption});
    return false;
}

const std::string& uniqueIdAlphabet()
{
    static const std::string alphabet =
        "abcdefghijklmnopqrstuvwxyz01234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890"
        "abcdefghijklmnopqrstuvwxyz1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return alphabet;
}

std::string GETUNIQUEID(int length)
{
    static std::mt19937 generator{std::random_device{}()};
    const std::string& alphabet = uniqueIdAlphabet();
    std::uniform_int_distribution<std::size_t> position(0, alphabet.size() - 1);
    std::string out;
    for (int i = 0; i < length; ++i)
        out += alphabet[position(generator)];
    return out;
}

}  // namespace derode::mail
