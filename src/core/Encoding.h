#pragma once
// Text conversion between the program's UTF-8 and the single-byte code pages of the files kept
// for compatibility with existing leagues (Windows-1252 above all).

#include <string>

namespace derode::core {

// Windows-1252 bytes to UTF-8. The five unassigned bytes map to the C1 controls of the same value.
std::string cp1252ToUtf8(const std::string& bytes);
// UTF-8 to Windows-1252. A character the code page lacks becomes `replacement`.
std::string utf8ToCp1252(const std::string& text, char replacement = '?');
// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(const std::string& bytes);

// Decodes one UTF-8 sequence at `pos` (advancing it); returns U+FFFD for a malformed one.
char32_t decodeUtf8(const std::string& text, std::size_t& pos);
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace derode::core
