// The critical-plane search: its count without the maps against the full
// count on every plane, the same result and reports for any thread count,
// errors raised in a thread, and the progress line kept off files and pipes.

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
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
// OriginDamages with the maps, the determining one the last improving origin.
std::vector<cp::Plane> ReferencePlanes(const Records& records,
                                       const CZuvanFatigueCountingMethod& counting) {
    const int n = static_cast<int>(records.size());
    std::vector<int> recordInstants(n), instants(n + 1);
    std::vector<double> sxy(n), sxz(n), values(n + 1);
    for (int k = 0; k < n; ++k) recordInstants[k] = records[k].instant;
    CZuvanFatigueCountingMethod::CycleMap cycles;
    CZuvanFatigueCountingMethod::RangeMap ranges;
    std::vector<cp::Plane> planes;
    for (double theta : cp::GridAngles()) {
        for (double phi : cp::GridAngles()) {
            const cp::Frame frame = cp::MakeFrame(theta, phi);
            cp::Plane p;
            p.theta = theta;
            p.phi = phi;
            for (int k = 0; k < n; ++k) {
                double sxx;
                cp::PlaneStresses(records[k].sij, frame, sxx, sxy[k], sxz[k]);
                p.sum += sxx;
            }
            std::vector<cp::Origin> origins;
            std::vector<std::size_t> improving;
            cp::OriginDamages(
                n, counting,
                [&](int n0, int* i, double* v) {
                    return cp::OriginSeries(n, n0, sxy.data(), sxz.data(), recordInstants.data(),
                                            1.0, i, v);
                },
                Permissible, instants.data(), values.data(), cycles, ranges, origins, improving);
            const cp::Origin origin = cp::DeterminingOrigin(origins, improving);
            p.origin = origin.index;
            p.damage = origin.damage;
            planes.push_back(p);
        }
    }
    return planes;
}

cp::SearchOptions Threads(int threads) {
    cp::SearchOptions options;
    options.threads = threads;
    return options;
}

}  // namespace

TEST(ZuvanFatigueCriticalPlane, SearchGivesTheFullCountsPlanesForAnyThreadCount) {
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
                cp::Search search(c.records, *counting, Threads(threads));
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
    const CZuvanFatigueRainFlow rainflow;
    const Records records = RandomRecords(17, 5);
    // Planes whose series reach past a level fail: through the damage rate of a
    // curve that gives no cycle (440), or with a message naming the plane's
    // largest value, which tells which plane failed first.
    double level = 0.0;
    {
        cp::Search search(records, rainflow, Threads(1));
        const std::vector<cp::Plane> planes = search.Planes(1.0, Permissible);
        ASSERT_FALSE(planes.empty());
    }
    {
        std::vector<double> largest;
        cp::Search search(records, rainflow, Threads(1));
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
        cp::Search search(records, rainflow, Threads(threads));
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

// A search tells its advance from the calling thread: its start (0 done),
// the items done in rising order up to the total, its end last, also when it
// fails; what the callback throws is no failure of the search.
TEST(ZuvanFatigueCriticalPlane, SearchesTellTheirAdvanceToTheEnd) {
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
    const auto origins = [&](const cp::SearchOptions& options, int (*permissible)(double, double)) {
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
            permissible, instants.data(), values.data(), cycles, ranges, found, improving, options);
    };
    const auto planes = [&](const cp::SearchOptions& options, int (*permissible)(double, double)) {
        cp::Search(records, rainflow, options).Planes(1.0, permissible);
    };
    struct Case {
        const char* name;
        std::function<void(const cp::SearchOptions&, int (*)(double, double))> run;
        std::size_t total;
        const char* items;
    };
    const Case cases[] = {{"planes", planes, 5184, "plans"}, {"origins", origins, 4, "origines"}};
    for (const Case& c : cases) {
        for (int threads : {1, 3}) {
            for (bool failing : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.name << ", " << threads << " threads"
                                                << (failing ? ", failing" : ""));
                std::vector<cp::SearchProgress> told;
                const std::thread::id caller = std::this_thread::get_id();
                bool elsewhere = false;
                cp::SearchOptions options = Threads(threads);
                options.progress = [&](const cp::SearchProgress& p) {
                    if (std::this_thread::get_id() != caller) elsewhere = true;
                    told.push_back(p);
                    throw std::runtime_error("no terminal");
                };
                const auto none = [](double, double) { return 0; };
                if (failing) {
                    EXPECT_EQ(CodeOf([&] { c.run(options, none); }), 440);
                } else {
                    c.run(options, Permissible);
                }
                EXPECT_FALSE(elsewhere);
                ASSERT_GE(told.size(), 2u);
                EXPECT_EQ(told.front().done, 0u);
                EXPECT_FALSE(told.front().finished);
                EXPECT_TRUE(told.back().finished);
                for (std::size_t i = 0; i < told.size(); ++i) {
                    EXPECT_EQ(told[i].total, c.total);
                    EXPECT_STREQ(told[i].items, c.items);
                    EXPECT_EQ(told[i].finished, i + 1 == told.size());
                    if (i > 0) {
                        EXPECT_GE(told[i].done, told[i - 1].done);
                    }
                }
                // The count the calling thread saw last: every item with one thread.
                EXPECT_LE(told.back().done, c.total);
                if (!failing && threads == 1) {
                    EXPECT_EQ(told.back().done, c.total);
                }
            }
        }
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
