#pragma once
// Rich-text values written in RTF (the standings footer's "ResumeFooter") turned into the HTML
// subset that rich-text elements paint: paragraphs and line breaks, bold, italic, font size and
// the "\'hh" characters of the Windows-1252 code page. Font and colour tables and other
// destinations are skipped; unknown control words are ignored.

#include <string>

namespace derode::reports {

// Whether a text is an RTF document ("{\rtf…").
bool isRtf(const std::string& text);
// The RTF document as escaped HTML (UTF-8).
std::string rtfToHtml(const std::string& rtf);

}  // namespace derode::reports
