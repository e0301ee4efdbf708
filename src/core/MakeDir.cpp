#include "core/MakeDir.h"

#include "core/Text.h"

#include <cerrno>
#include <sys/stat.h>

namespace derode::core {

int MAKEDIR(const std::string& rawPath)
{
    std::string path = trim(rawPath);
    if (path.empty())
        return ENOENT;
    if (path.back() != '/')
        path += '/';
    std::string built = path[0] == '/' ? "/" : "";
    std::size_t start = path[0] == '/' ? 1 : 0;
    int result = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        std::string name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        built += name + "/";
        struct stat st {};
        if (::stat(built.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            result = 0;
            continue;
        }
        if (::mkdir(built.c_str(), 0777) != 0 && errno != EEXIST)
            return errno;
        if (::stat(built.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return ENOTDIR;
        result = 0;
    }
    return result;
}

}  // namespace derode::core
