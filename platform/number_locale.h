#pragma once
// The user's decimal and thousands separators, read from the system locale.

namespace telvara {

// Sets the program's number separators from the system locale (once at start-up).
void readNumberLocale();

} // namespace telvara
