#pragma once
// What produced a run's results, as its JSON lines record it (the "run"
// object): the program's version, when the run started, the two decks it
// read and the threads of its searches. The driver fills it, as it sets
// --json, and it travels with the study to every request.

#include <string>

namespace ZuvanFatigueProvenance {

struct Deck {
    std::string path;    // as given on the command line
    std::string sha256;  // of its bytes, lower-case hexadecimal; empty when unreadable
};

struct Run {
    std::string version;  // "X.Y.Z"
    std::string timeUtc;  // start of the run, ISO 8601 to the second: "2026-12-11T14:05:09Z"
    Deck data, context;
    int threads = 0;  // threads of the critical-plane search
};

}  // namespace ZuvanFatigueProvenance
