// The critical-plane search: its count without the maps against the full
// count on every plane, the same result and reports for any thread count,
// errors raised in a thread, and the progress line kept off files and pipes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;
namespace cp = ZuvanFatigueCriticalPlane;

namespace {

using Records = std::vector<ZuvanFatigueAnalysis::Record>;

std::uint64_t Bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Seeded random total tensors; repeat[k] >= 0 makes record k a copy of that
// record's stresses (the merge of repeats then drops points of the series).
Records RandomRecords(unsigned seed, int n, const std::vector<int>& repeat = {}) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> u(-200.0, 200.0);
    Records records(n);
    for (int k = 0; k < n; ++k) {
        records[k].instant = k;
        for (double& c : records[k].sij) c = u(generator);
        if (k < static_cast<int>(repeat.size()) && repeat[k] >= 0) {
            records[k].sij = records[repeat[k]].sij;
        }
    }
    return records;
}

// A permissible number of cycles of the kind a curve gives.
int Permissible(double range, double largest) {
    const double x = range / 0.2;
    if (x < 30.0 || largest < 1.0) return 2000000000;
    const double n = 1.0e13 / (x * x * x);
    return n > 2.0e9 ? 2000000000 : static_cast<int>(n) + 1;
}

// The search as the full count does it: each plane's origins through
// OriginDamages with the maps, the determining one by ChooseOrigin.
std::vector<cp::Plane> ReferencePlanes(const Records& records,
                                       const CZuvanFatigueCountingMethod& counting) {
    namespace plane = ZuvanFatiguePlane;
    const int n = static_cast<int>(records.size());
    std::vector<int> recordInstants(n), instants(n + 1);
    std::vector<double> sxy(n), sxz(n), values(n + 1);
    for (int k = 0; k < n; ++k) recordInstants[k] = records[k].instant;
    CZuvanFatigueCountingMethod::CycleMap cycles;
    CZuvanFatigueCountingMethod::RangeMap ranges;
    std::vector<cp::Plane> planes;
    for (double theta : plane::GridAngles()) {
        for (double phi : plane::GridAngles()) {
            const plane::Frame frame = plane::MakeFrame(theta, phi);
            cp::Plane p;
            p.theta = theta;
            p.phi = phi;
            for (int k = 0; k < n; ++k) {
                double sxx;
                plane::PlaneStresses(records[k].sij, frame, sxx, sxy[k], sxz[k]);
                p.sum += sxx;
            }
            std::vector<cp::Origin> origins;
            cp::OriginDamages(
                n, counting,
                [&](int n0, int* i, double* v) {
                    return plane::OriginSeries(n, n0, sxy.data(), sxz.data(), recordInstants.data(),
                                               1.0, i, v);
                },
                Permissible, instants.data(), values.data(), cycles, ranges, origins);
            const cp::Origin origin = cp::ChooseOrigin(origins, [](const cp::Origin&) {});
            p.origin = origin.index;
            p.damage = origin.damage;
            planes.push_back(p);
        }
    }
    return planes;
}

// Restores the thread count and the progress delay at the end of a test.
struct SearchSettings {
    ~SearchSettings() {
        cp::SetThreadCount(0);
        cp::SetProgressDelay(1.0);
    }
};

}  // namespace

TEST(ZuvanFatigueCriticalPlane, SearchGivesTheFullCountsPlanesForAnyThreadCount) {
    SearchSettings restore;
    const CZuvanFatigueRainFlow rainflow;
    const CZuvanFatigueReservoir reservoir;
    struct Case {
        const char* name;
        Records records;
    };
    const Case cases[] = {
        {"random", RandomRecords(7, 6)},
        // The record after the origin repeats it, and two later records repeat
        // earlier ones: merged points and triples counted again.
        {"repeated records", RandomRecords(11, 7, {-1, 0, -1, 2, -1, 1, -1})},
        {"three records", RandomRecords(13, 3)},
    };
    const CZuvanFatigueCountingMethod* methods[] = {&rainflow, &reservoir};
    for (const Case& c : cases) {
        for (const CZuvanFatigueCountingMethod* counting : methods) {
            SCOPED_TRACE(testing::Message()
                         << c.name << (counting == &rainflow ? ", rainflow" : ", reservoir"));
            const std::vector<cp::Plane> reference = ReferencePlanes(c.records, *counting);
            for (int threads : {1, 3}) {
                SCOPED_TRACE(testing::Message() << threads << " threads");
                cp::SetThreadCount(threads);
                cp::Search search(c.records, *counting);
                const std::vector<cp::Plane> planes = search.Planes(1.0, Permissible);
                ASSERT_EQ(planes.size(), reference.size());
                int differing = 0;
                for (std::size_t i = 0; i < planes.size(); ++i) {
                    const bool same = Bits(planes[i].theta) == Bits(reference[i].theta) &&
                                      Bits(planes[i].phi) == Bits(reference[i].phi) &&
                                      planes[i].origin == reference[i].origin &&
                                      Bits(planes[i].damage) == Bits(reference[i].damage) &&
                                      Bits(planes[i].sum) == Bits(reference[i].sum);
                    if (!same) ++differing;
                }
                EXPECT_EQ(differing, 0);
                for (cp::PlaneChoice choice :
                     {cp::PlaneChoice::kToleranceThenSum, cp::PlaneChoice::kStrictlyGreater}) {
                    std::vector<int> rows, expectedRows;
                    const cp::Plane best = cp::Choose(
                        planes, choice, [&](const cp::Plane& p) { rows.push_back(p.origin); });
                    const cp::Plane expected =
                        cp::Choose(reference, choice,
                                   [&](const cp::Plane& p) { expectedRows.push_back(p.origin); });
                    EXPECT_EQ(Bits(best.theta), Bits(expected.theta));
                    EXPECT_EQ(Bits(best.phi), Bits(expected.phi));
                    EXPECT_EQ(best.origin, expected.origin);
                    EXPECT_EQ(Bits(best.damage), Bits(expected.damage));
                    EXPECT_EQ(rows, expectedRows);
                    EXPECT_GT(best.damage, 0.0);
                }
            }
        }
    }
}

TEST(ZuvanFatigueCriticalPlane, AFailingPlaneRaisesTheFirstFailureInGridOrder) {
    SearchSettings restore;
    const CZuvanFatigueRainFlow rainflow;
    const Records records = RandomRecords(17, 5);
    // Planes whose series reach past a level fail: through the damage rate of a
    // curve that gives no cycle (440), or with a message naming the plane's
    // largest value, which tells which plane failed first.
    double level = 0.0;
    {
        cp::SetThreadCount(1);
        cp::Search search(records, rainflow);
        const std::vector<cp::Plane> planes = search.Planes(1.0, Permissible);
        ASSERT_FALSE(planes.empty());
    }
    {
        std::vector<double> largest;
        cp::Search search(records, rainflow);
        search.Planes(1.0, [&](double range, double top) {
            largest.push_back(top);
            return Permissible(range, top);
        });
        std::sort(largest.begin(), largest.end());
        level = largest[largest.size() * 9 / 10];
    }
    const auto byLevel = [&](double range, double top) -> int {
        if (top > level) throw CExceptionZuvanFatigue(std::to_string(top).c_str(), 440);
        return Permissible(range, top);
    };
    const auto none = [&](double range, double top) {
        return top > level ? 0 : Permissible(range, top);
    };
    std::string first;
    for (int threads : {1, 2, 5}) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        cp::SetThreadCount(threads);
        cp::Search search(records, rainflow);
        try {
            search.Planes(1.0, byLevel);
            ADD_FAILURE() << "no plane failed";
        } catch (const CExceptionZuvanFatigue& e) {
            EXPECT_EQ(e.GetCode(), 440);
            ASSERT_NE(e.GetMessage(), nullptr);
            if (threads == 1) first = e.GetMessage();
            EXPECT_EQ(first, e.GetMessage());
        }
        EXPECT_EQ(CodeOf([&] { search.Planes(1.0, none); }), 440);
    }
}

TEST(ZuvanFatigueCriticalPlane, ThreadCountFromTextFallsBackToTheHardware) {
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
        {"100000", 2, cp::kMaxThreads},
        {"99999999999999999999", 2, cp::kMaxThreads},
        {nullptr, 100000, cp::kMaxThreads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(unset)") << ", " << c.hardware);
        EXPECT_EQ(cp::ThreadCountFrom(c.text, c.hardware), c.expected);
    }
}

namespace {

// The two long searches, on 4 random records: the plane search and the
// search of the origin (the throat's), with the text their progress line shows.
struct LongSearch {
    const char* name;
    const char* shows;
    std::function<void()> run;
};
std::vector<LongSearch> LongSearches() {
    const auto planes = [] {
        const CZuvanFatigueRainFlow rainflow;
        cp::Search search(RandomRecords(19, 4), rainflow);
        search.Planes(1.0, Permissible);
    };
    const auto origins = [] {
        namespace plane = ZuvanFatiguePlane;
        const CZuvanFatigueRainFlow rainflow;
        const Records records = RandomRecords(19, 4);
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
        cp::ProgressLine progress(static_cast<std::size_t>(n), "Recherche de l'instant d'origine",
                                  "origines");
        cp::OriginDamages(
            n, rainflow,
            [&](int n0, int* i, double* v) {
                return plane::OriginSeries(n, n0, sxy.data(), sxz.data(), recordInstants.data(),
                                           1.0, i, v);
            },
            Permissible, instants.data(), values.data(), cycles, ranges, found, &progress);
    };
    return {{"planes", " / 5184 plans", planes}, {"origins", " / 4 origines", origins}};
}

// Runs a search with the standard error (fd 2) on target, the progress shown
// from the start; restores fd 2.
void SearchWithStderrOn(int target, const std::function<void()>& search) {
    cp::SetProgressDelay(0.0);
    const int saved = dup(2);
    ASSERT_GE(saved, 0);
    ASSERT_GE(dup2(target, 2), 0);
    search();
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

TEST(ZuvanFatigueCriticalPlane, ProgressNeverReachesAFileOrAPipe) {
    SearchSettings restore;
    for (const LongSearch& search : LongSearches()) {
        for (int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << search.name << ", " << threads << " threads");
            cp::SetThreadCount(threads);
            TempDir dir;
            const std::string path = dir.Write("stderr.txt", "");
            const int file = open(path.c_str(), O_WRONLY);
            ASSERT_GE(file, 0);
            SearchWithStderrOn(file, search.run);
            close(file);
            EXPECT_EQ(ReadFile(path), "");

            int ends[2];
            ASSERT_EQ(pipe(ends), 0);
            SearchWithStderrOn(ends[1], search.run);
            close(ends[1]);
            EXPECT_EQ(ReadAll(ends[0]), "");
            close(ends[0]);
        }
    }
}

TEST(ZuvanFatigueCriticalPlane, ProgressOnATerminalIsErasedAtTheEnd) {
    SearchSettings restore;
    for (const LongSearch& search : LongSearches()) {
        SCOPED_TRACE(search.name);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            if (master >= 0) close(master);
            GTEST_SKIP() << "no pseudo-terminal here";
        }
        const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(terminal, 0);
        // One thread: the calling thread, which keeps the line, searches every
        // plane (with more, the others may search them all before it starts).
        cp::SetThreadCount(1);
        SearchWithStderrOn(terminal, search.run);
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

namespace {

// Every file a run wrote into dir, by name, and the console.
std::map<std::string, std::string> Outputs(const std::string& dir, const RunResult& r) {
    std::map<std::string, std::string> files;
    for (const auto& entry : boost::filesystem::directory_iterator(dir)) {
        files[entry.path().filename().string()] = ReadFile(entry.path().string());
    }
    files["(console)"] = r.console + r.output;
    return files;
}

}  // namespace

TEST(ZuvanFatigueCriticalPlane, ReportsAreTheSameForAnyThreadCount) {
    const std::string decks = std::string(ZUVAN_TEST_DIR) + "/decks/";
    const std::string examples = std::string(ZUVAN_EXAMPLES_DIR) + "/";
    struct Run {
        std::string data, context;
    };
    const Run runs[] = {
        {decks + "uw-uniaxial.dat", decks + "uw.ctx"},
        {decks + "weld-seam-imperfection.dat", decks + "weld.ctx"},
        {decks + "weld-seam-plain.dat", decks + "weld.ctx"},
        {decks + "weld-throat-pass.dat", decks + "weld.ctx"},
        {decks + "weld-throat-refused.dat", decks + "weld.ctx"},
        {decks + "every-object.dat", decks + "every-object.ctx"},
        {examples + "uwzone-shell.data", examples + "context.ctx"},
        {examples + "weld-seam.data", examples + "context.ctx"},
        {examples + "weld-throat.data", examples + "context.ctx"},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.data);
        std::map<std::string, std::string> first;
        for (const char* threads : {"1", "2", "7"}) {
            SCOPED_TRACE(testing::Message() << "ZUVAN_THREADS=" << threads);
            TempDir dir;
            const RunResult r = RunProgram({"-c", run.context, "-d", run.data, "-o", dir.Path()},
                                           {std::string("ZUVAN_THREADS=") + threads});
            ASSERT_EQ(r.status, 0) << r.console;
            const std::map<std::string, std::string> outputs = Outputs(dir.Path(), r);
            if (first.empty()) first = outputs;
            EXPECT_TRUE(outputs == first);
        }
    }
}
