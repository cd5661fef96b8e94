#pragma once
// Run-wide settings of the long searches (the critical-plane search of
// C11.3.9.2.3, the search of a weld throat's determining origin of
// C11.3.9.5.2). The driver builds them, as it sets --json, and they travel
// with the study to every request: nothing in damage/ reads the environment
// or writes to a terminal.

#include <cstddef>
#include <functional>

namespace ZuvanFatigueCriticalPlane {

// The advance of one search: done of its total items (planes or origins),
// what the search is and what its items are called (ASCII, for a progress
// line). A search tells its start (done 0), every item the calling thread
// finishes, and its end (finished, also when it fails), all from the thread
// that called the search.
struct SearchProgress {
    const char* what;   // "Recherche du plan critique", "Recherche de l'instant d'origine"
    const char* items;  // "plans", "origines"
    std::size_t done;
    std::size_t total;
    bool finished;
};

struct SearchOptions {
    // Threads of the plane search; 1 searches on the calling thread alone, and
    // fewer than 1 counts as 1. The search of a throat's origin is one thread.
    int threads = 1;
    // Told of the advance of each search; empty: nobody is. What it throws is
    // no failure of the search.
    std::function<void(const SearchProgress&)> progress;
};

}  // namespace ZuvanFatigueCriticalPlane
