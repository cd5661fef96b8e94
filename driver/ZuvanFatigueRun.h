#pragma once
// The run: command line, the pass over both decks, the end report and the
// exit status. Everything is printed on console (std::cerr in main).

#include <ostream>

int RunZuvanFatigue(int argc, char* argv[], std::ostream& console);
