#include "base/os/program.h"
#include "base/os/windows_error.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace telvara::os {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < n; ++i)
        args.push_back(utf8OfWide(wide[i]));
    LocalFree(wide);
    return args;
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    // The tools write their line ends themselves (CR LF where a format asks
    // for it) and read lines ending either way: no text-mode translation,
    // so the bytes are the Linux tools' bytes.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace telvara::os
