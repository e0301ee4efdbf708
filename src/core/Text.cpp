#include "core/Text.h"

#include "core/Encoding.h"

namespace derode::core {

std::string ltrim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string rtrim(const std::string& text)
{
    std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string trim(const std::string& text) { return ltrim(rtrim(text)); }

std::string trim(const std::string& text, const char* blanks)
{
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool isLowerLetter(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7) || c == 0x153 || c == 0x161
        || c == 0x17E;
}

bool isUpperLetter(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x152 || c == 0x160
        || c == 0x17D || c == 0x178;
}

char32_t toUpper(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    switch (c) {
    case 0xFF: return 0x178;
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    default: return c;  // ß has no single capital
    }
}

char32_t toLower(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
    case 0x178: return 0xFF;
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x17D: return 0x17E;
    default: return c;
    }
}

namespace {
template <typename F>
std::string mapCodePoints(const std::string& text, F f)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        appendUtf8(out, f(decodeUtf8(text, pos)));
    return out;
}
}  // namespace

std::string toUpper(const std::string& text) { return mapCodePoints(text, [](char32_t c) { return toUpper(c); }); }

std::string toLower(const std::string& text) { return mapCodePoints(text, [](char32_t c) { return toLower(c); }); }

bool equalsIgnoreCase(const std::string& a, const std::string& b) { return toLower(a) == toLower(b); }

std::size_t length(const std::string& text)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        decodeUtf8(text, pos);
        ++count;
    }
    return count;
}

std::string padRight(const std::string& text, std::size_t width)
{
    std::string out;
    std::size_t pos = 0;
    std::size_t count = 0;
    while (pos < text.size() && count < width) {
        appendUtf8(out, decodeUtf8(text, pos));
        ++count;
    }
    out.append(width - count, ' ');
    return out;
}

}  // namespace derode::core
