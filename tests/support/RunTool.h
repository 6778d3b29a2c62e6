#pragma once
// Runs a command-line program and captures what it printed and its exit status.

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace testtool {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quote(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline Result run(const std::string &program, const std::vector<std::string> &args)
{
    static int serial = 0;
    const auto base = std::filesystem::temp_directory_path() /
                      ("pictarium-run-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::string cmd = quote(program);
    for (const auto &a : args)
        cmd += " " + quote(a);
    cmd += " >" + quote(base.string() + ".out") + " 2>" + quote(base.string() + ".err") + " </dev/null";
    Result r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(base.string() + ".out");
    r.err = slurp(base.string() + ".err");
    std::filesystem::remove(base.string() + ".out");
    std::filesystem::remove(base.string() + ".err");
    return r;
}

} // namespace testtool
