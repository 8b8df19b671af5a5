#pragma once
// What a command-line tool gets from the system: its arguments and its
// console.
#include <string>
#include <vector>

namespace telvara::os {

// The arguments after the program's name, as UTF-8. On Windows they are
// read from the wide command line, so a Japanese folder name arrives whole
// whatever the system's code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Standard output and error carry UTF-8; a Windows console is switched to
// show it.
void prepareConsole();

} // namespace telvara::os
