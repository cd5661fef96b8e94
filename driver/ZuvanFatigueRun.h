#pragma once
// The run: command line, the pass over both decks, the end report and the
// exit status. Everything is printed on console (std::cerr in main).

#include <ostream>

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console);
// The same with the standard output stream given: "--version" anywhere among
// the arguments (not as the value of -d, -c or -o) prints "ZuvanFatigue X.Y.Z"
// on output and returns 0 without reading a deck.
int RunZuvanFatigue(int argc, char* argv[], std::ostream& console, std::ostream& output);

// True when the file descriptor is a terminal whose locale (LC_CTYPE of the
// environment, nl_langinfo(CODESET)) is UTF-8: the console is then written in
// UTF-8 (SetConsoleUtf8). A redirected console stays ISO-8859-15.
bool IsUtf8Terminal(int fd);
