#pragma once
// telvara-store's CSV commands: export FILE.csv and import FILE.csv [--replace].
#include <string>

namespace telvara {

// Writes every record of the store in dir to file (replaced only by a whole
// new file). Exit status 0; failures are raised.
int exportStoreCsv(const std::string& dir, const std::string& file);

// Checks every row of file, then stores them in one operation and prints the
// summary; a file with bad rows names each on standard error, stores nothing
// and gives 2.
int importStoreCsv(const std::string& dir, const std::string& file, bool replace);

} // namespace telvara
