#include "EngineTestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace derode::test {

namespace {

std::string quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

}  // namespace

ToolResult runTool(const std::vector<std::string>& args, bool keepStderr)
{
    std::string command = quote(std::string(DERODE_TOOLS_DIR) + "derode-dbf");
    for (const auto& a : args)
        command += " " + quote(a);
    command += keepStderr ? " 2>&1" : " 2>/dev/null";
    ToolResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        result.out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> readLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return splitLines(text);
}

}  // namespace derode::test
