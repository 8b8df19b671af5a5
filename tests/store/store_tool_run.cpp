// telvara-store as a process of its own, through the POSIX shell.
#include "store_test_util.h"

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace telvara::test {

namespace {
std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
} // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::string& input,
                   const TempDir& io, const std::string& prefix) {
    const std::string in = io.file("in"), out = io.file("out"), err = io.file("err");
    std::ofstream(in, std::ios::binary) << input;
    // A run that hangs ends after a minute, with a status no run has of its own.
    std::string cmd = prefix + "timeout 60 " + shellQuoted(TELVARA_STORE_TOOL);
    for (const auto& a : args)
        cmd += " " + shellQuoted(a);
    cmd += " <" + shellQuoted(in) + " >" + shellQuoted(out) + " 2>" + shellQuoted(err);
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
}

} // namespace telvara::test
