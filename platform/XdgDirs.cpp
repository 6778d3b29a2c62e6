#include "XdgDirs.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace pictarium {
namespace {

std::string absoluteEnv(const char *name)
{
    const char *value = std::getenv(name);
    if (!value || value[0] != '/')
        return {};
    return value;
}

} // namespace

std::string homeFolder()
{
    if (auto home = absoluteEnv("HOME"); !home.empty())
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string xdgConfigHome()
{
    auto dir = absoluteEnv("XDG_CONFIG_HOME");
    return dir.empty() ? homeFolder() + "/.config" : dir;
}

std::string xdgDataHome()
{
    auto dir = absoluteEnv("XDG_DATA_HOME");
    return dir.empty() ? homeFolder() + "/.local/share" : dir;
}

bool makeDirectories(const std::string &path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

} // namespace pictarium
