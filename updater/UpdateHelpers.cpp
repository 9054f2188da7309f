#include "updater/UpdateHelpers.h"

#include "platform/process/ProcessList.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::vector<std::string> SplitText(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> items;
    if (delimiter.empty()) {
        if (!text.empty())
            items.push_back(text);
        return items;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t hit = text.find(delimiter, start);
        if (hit == std::string::npos) {
            items.push_back(text.substr(start));
            break;
        }
        items.push_back(text.substr(start, hit - start));
        start = hit + delimiter.size();
        if (start == text.size())
            items.emplace_back();
    }
    return items;
}

bool CreateFolderPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty())
        return false;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return false;
    if (!CreateFolderPath(path.substr(0, slash)))
        return false;
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool DeleteFolderTree(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(path, ec)))
        return false;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryEc;
        if (it->is_directory(entryEc) && !it->is_symlink(entryEc))
            DeleteFolderTree(it->path().string());
        else
            fs::remove(it->path(), entryEc);
    }
    return fs::remove(path, ec) && !ec;
}

long FindProcessId(const std::string& exeName)
{
    return static_cast<long>(FindUserProcess(exeName));
}
