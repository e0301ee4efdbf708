#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace derode::core {

namespace {

std::string tempPathFor(const std::string& path)
{
    fs::path target(path);
    std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid());
    return (target.parent_path() / name).string();
}

bool syncFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

bool replaceFileAtomically(const std::string& path, const std::function<bool(const std::string&)>& fill,
                           std::string* error)
{
    const std::string temp = tempPathFor(path);
    std::error_code ec;
    fs::remove(temp, ec);
    if (!fill(temp)) {
        fs::remove(temp, ec);
        setError(error, "cannot write " + temp);
        return false;
    }
    if (!syncFile(temp)) {
        fs::remove(temp, ec);
        setError(error, "cannot flush " + temp);
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        setError(error, "cannot rename " + temp + ": " + std::strerror(errno));
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    return replaceFileAtomically(
        path,
        [&](const std::string& temp) {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out)
                return false;
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            return static_cast<bool>(out);
        },
        error);
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // Read through the stream itself: a read error (a folder opened as a file, an I/O fault)
    // then sets badbit, where copying rdbuf() would end quietly with what it had.
    std::string content;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        content.append(chunk, std::size_t(in.gcount()));
    if (in.bad())
        return false;
    bytes = std::move(content);
    return true;
}

}  // namespace derode::core
