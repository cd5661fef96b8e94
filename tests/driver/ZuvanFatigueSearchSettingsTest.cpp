// The run's search settings: the thread count from ZUVAN_THREADS and the
// progress line of the long searches on a terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "driver/ZuvanFatigueSearchSettings.h"
#include "stress/CZuvanFatigueRainFlow.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;
namespace cp = ZuvanFatigueCriticalPlane;
namespace settings = ZuvanFatigueSearchSettings;

TEST(ZuvanFatigueSearchSettings, ThreadCountFromTextFallsBackToTheHardware) {
    struct Case {
        const char* text;
        unsigned hardware;
        int expected;
    };
    const Case cases[] = {
        {"1", 8, 1},
        {"2", 8, 2},
        {"7", 2, 7},
        {"  3", 2, 3},
        {nullptr, 4, 4},
        {"", 4, 4},
        {"0", 4, 4},
        {"-2", 4, 4},
        {"two", 4, 4},
        {"3x", 4, 4},
        {"2.5", 4, 4},
        {"1", 0, 1},
        {nullptr, 0, 1},
        {"100000", 2, settings::kMaxThreads},
        {"99999999999999999999", 2, settings::kMaxThreads},
        {nullptr, 100000, settings::kMaxThreads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(unset)") << ", " << c.hardware);
        EXPECT_EQ(settings::ThreadCountFrom(c.text, c.hardware), c.expected);
    }
}

namespace {

// Four random records: instants 0 .. 3, random total tensors.
std::vector<ZuvanFatigueAnalysis::Record> Records() {
    std::vector<ZuvanFatigueAnalysis::Record> records(4);
    const double s[4][6] = {{10, -40, 25, 60, -5, 12},
                            {-80, 35, 140, -20, 55, 7},
                            {120, 90, -60, 15, -30, 44},
                            {-15, -110, 70, 95, 20, -66}};
    for (int k = 0; k < 4; ++k) {
        records[k].instant = k;
        for (int c = 0; c < 6; ++c) records[k].sij[c] = s[k][c];
        records[k].sijm = records[k].sijlm = records[k].sijlt = {};
        records[k].temperatureC = 20.0;
        records[k].pressure = 0.0;
    }
    return records;
}

int Permissible(double range, double) { return range < 1.0 ? 2000000000 : 100000; }

// The two long searches, with the progress line shown from their start: the
// plane search and the search of the origin (the throat's), with the text
// their line shows.
struct LongSearch {
    const char* name;
    const char* shows;
    std::function<void(const cp::SearchOptions&)> run;
};
std::vector<LongSearch> LongSearches() {
    const auto planes = [](const cp::SearchOptions& options) {
        const CZuvanFatigueRainFlow rainflow;
        const std::vector<ZuvanFatigueAnalysis::Record> records =
            Records();  // the search keeps them
        cp::Search search(records, rainflow, options);
        search.Planes(1.0, Permissible);
    };
    const auto origins = [](const cp::SearchOptions& options) {
        const CZuvanFatigueRainFlow rainflow;
        const std::vector<ZuvanFatigueAnalysis::Record> records = Records();
        const int n = static_cast<int>(records.size());
        std::vector<int> recordInstants(n), instants(n + 1);
        std::vector<double> sxy(n), sxz(n), values(n + 1);
        for (int k = 0; k < n; ++k) {
            recordInstants[k] = records[k].instant;
            sxy[k] = records[k].sij[1];
            sxz[k] = records[k].sij[2];
        }
        CZuvanFatigueCountingMethod::CycleMap cycles;
        CZuvanFatigueCountingMethod::RangeMap ranges;
        std::vector<cp::Origin> found;
        std::vector<std::size_t> improving;
        cp::OriginDamages(
            n, rainflow,
            [&](int n0, int* i, double* v) {
                return cp::OriginSeries(n, n0, sxy.data(), sxz.data(), recordInstants.data(), 1.0,
                                        i, v);
            },
            Permissible, instants.data(), values.data(), cycles, ranges, found, improving, options);
    };
    return {{"planes", " / 5184 plans", planes}, {"origins", " / 4 origines", origins}};
}

// Runs a search on threads with the standard error (fd 2) on target and the
// progress line from the start; restores fd 2.
void SearchWithStderrOn(int target, const LongSearch& search, int threads) {
    cp::SearchOptions options;
    options.threads = threads;
    const auto line = std::make_shared<settings::TerminalProgress>(0.0);
    options.progress = [line](const cp::SearchProgress& p) { (*line)(p); };
    const int saved = dup(2);
    ASSERT_GE(saved, 0);
    ASSERT_GE(dup2(target, 2), 0);
    search.run(options);
    dup2(saved, 2);
    close(saved);
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

}  // namespace

TEST(ZuvanFatigueSearchSettings, ProgressNeverReachesAFileOrAPipe) {
    for (const LongSearch& search : LongSearches()) {
        for (int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << search.name << ", " << threads << " threads");
            TempDir dir;
            const std::string path = dir.Write("stderr.txt", "");
            const int file = open(path.c_str(), O_WRONLY);
            ASSERT_GE(file, 0);
            SearchWithStderrOn(file, search, threads);
            close(file);
            EXPECT_EQ(ReadFile(path), "");

            int ends[2];
            ASSERT_EQ(pipe(ends), 0);
            SearchWithStderrOn(ends[1], search, threads);
            close(ends[1]);
            EXPECT_EQ(ReadAll(ends[0]), "");
            close(ends[0]);
        }
    }
}

TEST(ZuvanFatigueSearchSettings, ProgressOnATerminalIsErasedAtTheEnd) {
    for (const LongSearch& search : LongSearches()) {
        SCOPED_TRACE(search.name);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            if (master >= 0) close(master);
            GTEST_SKIP() << "no pseudo-terminal here";
        }
        const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(terminal, 0);
        // One thread: the calling thread, which tells the advance, searches
        // every plane (with more, the others may search them all before it starts).
        SearchWithStderrOn(terminal, search, 1);
        close(terminal);
        fcntl(master, F_SETFL, O_NONBLOCK);
        const std::string shown = ReadAll(master);
        close(master);
        EXPECT_NE(shown.find(search.shows), std::string::npos) << shown;
        // The line ends erased: blanks over it, the cursor back at the start.
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown.back(), '\r');
        const std::size_t last = shown.rfind('\r', shown.size() - 2);
        ASSERT_NE(last, std::string::npos);
        EXPECT_EQ(shown.substr(last + 1, shown.size() - last - 2).find_first_not_of(' '),
                  std::string::npos);
    }
}
