#pragma once
// Code pages of dBase tables. The language-driver byte (offset 29 of the header) names the
// single-byte code page in which the table's text is stored; the engine converts it to and from
// the program's UTF-8 at the contract's edge. Index keys stay in the table's code page.

#include <cstdint>
#include <string>

namespace derode::engine {

enum class CodePage { Windows1252, Cp437, Cp850, Cp852, Windows1250 };

// 0x03 and 0x57 Windows-1252, 0x01 cp437, 0x02 cp850, 0x64 cp852, 0xC8 Windows-1250;
// any other byte (0 included) reads as Windows-1252.
CodePage codePageFromDriver(std::uint8_t languageDriver);
// The language-driver byte written for a code page.
std::uint8_t driverFromCodePage(CodePage codePage);
const char* codePageName(CodePage codePage);

std::string codePageToUtf8(CodePage codePage, const std::string& bytes);
// A character the code page lacks becomes `replacement`.
std::string utf8ToCodePage(CodePage codePage, const std::string& text, char replacement = '?');

}  // namespace derode::engine
