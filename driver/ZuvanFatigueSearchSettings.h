#pragma once
// The run's settings of the long searches, as the program's user gives them:
// the thread count from the environment's ZUVAN_THREADS (else every hardware
// thread), and a progress line on the terminal of the standard error.

#include <chrono>
#include <cstddef>
#include <string>

#include "damage/ZuvanFatigueSearchOptions.h"

namespace ZuvanFatigueSearchSettings {

// A thread count given as text: a whole number from 1 (at most kMaxThreads;
// more gives kMaxThreads). Missing, empty, zero, negative or not a whole
// number: the hardware's count (1 when it is not known, at most kMaxThreads).
constexpr int kMaxThreads = 256;
int ThreadCountFrom(const char* text, unsigned hardwareThreads);

// The progress line of the searches on the terminal of the standard error
// (fd 2): "what : done / total items, elapsed s, reste ~left s", shown once a
// search has run for delaySeconds, rewritten in place at most every 250 ms
// and erased when the search ends; nothing when fd 2 is not a terminal.
// Written with write(2) past the console stream, in ASCII, so that the
// console's bytes never hold it.
class TerminalProgress {
   public:
    explicit TerminalProgress(double delaySeconds = 1.0) : m_delay(delaySeconds) {}
    void operator()(const ZuvanFatigueCriticalPlane::SearchProgress& progress);

   private:
    static void Write(const std::string& bytes);

    double m_delay;
    bool m_active = false;
    std::chrono::steady_clock::time_point m_start, m_shown;
    std::size_t m_width = 0;  // characters of the line shown, 0 when none is
};

// The settings of this run: ThreadCountFrom(ZUVAN_THREADS, the hardware's
// count) threads and the TerminalProgress line after a second.
ZuvanFatigueCriticalPlane::SearchOptions ForThisRun();

}  // namespace ZuvanFatigueSearchSettings
