#pragma once
// Small text helpers on UTF-8 strings. Case mapping covers ASCII and the letters of
// Windows-1252 (é, Ç, ô, œ, š, ÿ…), which is what league files can hold.

#include <string>

namespace derode::core {

std::string trim(const std::string& text);   // outer blanks (spaces) removed
std::string rtrim(const std::string& text);
std::string ltrim(const std::string& text);
// Outer characters of `blanks` removed (e.g. " \t").
std::string trim(const std::string& text, const char* blanks);
std::string toUpper(const std::string& text);
std::string toLower(const std::string& text);
char32_t toUpper(char32_t c);
char32_t toLower(char32_t c);
bool isLowerLetter(char32_t c);
bool isUpperLetter(char32_t c);
// Case-insensitive equality, as file names and INI keys compare.
bool equalsIgnoreCase(const std::string& a, const std::string& b);
// Pads with blanks on the right to `width` characters (code points), or cuts to it.
std::string padRight(const std::string& text, std::size_t width);
// Number of code points.
std::size_t length(const std::string& text);

}  // namespace derode::core
