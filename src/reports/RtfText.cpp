#include "reports/RtfText.h"

#include "core/Encoding.h"

#include <cctype>
#include <vector>

namespace derode::reports {

bool isRtf(const std::string& text) { return text.rfind("{\\rtf", 0) == 0; }

namespace {

struct State {
    bool skip = false;  // inside a destination that is not text (font table…)
    bool bold = false;
    bool italic = false;
    int halfPoints = 0;  // \fsN; 0 = the element's size
};

void appendEscaped(std::string& out, const std::string& utf8)
{
    for (char c : utf8) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        default: out += c;
        }
    }
}

}  // namespace

std::string rtfToHtml(const std::string& rtf)
{
    std::string html;
    std::vector<State> stack{State{}};
    State shown;  // what the open HTML tags say
    auto sync = [&] {
        const State& want = stack.back();
        if (want.bold == shown.bold && want.italic == shown.italic && want.halfPoints == shown.halfPoints)
            return;
        if (shown.halfPoints)
            html += "</span>";
        if (shown.italic)
            html += "</i>";
        if (shown.bold)
            html += "</b>";
        if (want.bold)
            html += "<b>";
        if (want.italic)
            html += "<i>";
        if (want.halfPoints)
            html += "<span style=\"font-size:" + std::to_string(want.halfPoints / 2) +
                    (want.halfPoints % 2 ? ".5" : "") + "pt\">";
        shown = want;
        shown.skip = false;
    };
    auto text = [&](const std::string& utf8) {
        if (stack.back().skip)
            return;
        sync();
        appendEscaped(html, utf8);
    };
    auto breakLine = [&] {
        if (!stack.back().skip)
            html += "<br>";
    };

    std::size_t i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            stack.push_back(stack.back());
            ++i;
            // "{\*\dest …}" is an ignorable destination.
            if (rtf.compare(i, 2, "\\*") == 0)
                stack.back().skip = true;
        } else if (c == '}') {
            if (stack.size() > 1)
                stack.pop_back();
            ++i;
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char n = rtf[i + 1];
            if (n == '\\' || n == '{' || n == '}') {
                text(std::string(1, n));
                i += 2;
            } else if (n == '\'' && i + 3 < rtf.size() && std::isxdigit(static_cast<unsigned char>(rtf[i + 2])) &&
                       std::isxdigit(static_cast<unsigned char>(rtf[i + 3]))) {
                const char byte = static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
                text(core::cp1252ToUtf8(std::string(1, byte)));
                i += 4;
            } else if (std::isalpha(static_cast<unsigned char>(n))) {
                std::size_t j = i + 1;
                while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const std::string word = rtf.substr(i + 1, j - i - 1);
                std::string digits;
                if (j < rtf.size() && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j])))) {
                    digits += rtf[j++];
                    while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j])))
                        digits += rtf[j++];
                }
                if (j < rtf.size() && rtf[j] == ' ')
                    ++j;  // the delimiter belongs to the control word
                i = j;
                const bool off = digits == "0";
                State& s = stack.back();
                if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" ||
                    word == "pict" || word == "header" || word == "footer")
                    s.skip = true;
                else if (word == "par" || word == "line")
                    breakLine();
                else if (word == "tab")
                    text("    ");
                else if (word == "b")
                    s.bold = !off;
                else if (word == "i")
                    s.italic = !off;
                else if (word == "plain")
                    s.bold = s.italic = false, s.halfPoints = 0;
                else if (word == "fs" && !digits.empty())
                    s.halfPoints = std::max(0, std::stoi(digits));
            } else {
                i += 2;  // other control symbols (\~, \-, \_…) are dropped
            }
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else {
            std::size_t j = i;
            while (j < rtf.size() && rtf[j] != '{' && rtf[j] != '}' && rtf[j] != '\\' && rtf[j] != '\r' && rtf[j] != '\n')
                ++j;
            text(rtf.substr(i, j - i));
            i = j;
        }
    }
    stack.assign(1, State{});
    sync();
    return html;
}

}  // namespace derode::reports
