#pragma once
// What the fuzz targets share: one run of the program, in process, on decks
// written into a private folder, with the reports of the run removed after it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ZuvanFatigueFuzz {

// Records and damage requests above which an input is not run. Each request
// searches 5184 planes over the pairs of records: under the fuzzer's
// instrumentation and the sanitizers one request on 12 records takes about a
// second, on 24 records about eight. Every seed deck stays within these caps.
constexpr std::size_t kMaxRecords = 12;
constexpr std::size_t kMaxRequests = 2;

// True when the deck stays within kMaxRecords records (*RELEVE, *RELEVELIN,
// *RELEVEQUAD cards) and kMaxRequests requests (*DOMMAGE cards).
bool WithinBudget(const std::string& deck);

// The private folder of this process (created on first use), with an empty
// sub-folder "out" for the reports.
const std::string& WorkDir();

// Writes bytes into a file of the private folder; returns its path.
std::string WriteFile(const std::string& name, const std::string& bytes);

// Runs the program on the two deck files with the reports into WorkDir()/out,
// then empties that folder. The console is kept in memory and dropped. The
// exit status must be one the program documents; anything else aborts.
int Run(const std::string& contextPath, const std::string& dataPath);

}  // namespace ZuvanFatigueFuzz
