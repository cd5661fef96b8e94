// Benchmark of the whole damage analyses: generated, seeded histories of n
// records on an unwelded zone and on a weld seam (with a form imperfection)
// are read from a deck and assessed (report written), with one thread and
// with every hardware thread. Each run is a child process of its own, so that
// its peak memory is its own. Prints seconds, nanoseconds per counted point
// (the search counts 5184 * n series of n + 1 points), processor seconds (of
// all threads) and the peak memory.
//
// A "lean loop" runs beside them on the same tensors: the least the search
// has to do (plane stresses once per plane, the series of each origin, a
// four-point stack count of the turning points, the damage of every cycle on
// the unwelded zone's curve), one thread; the program's time over it is the
// ratio program/lean.
//
// With --throat, the check of a weld throat runs instead, one thread (its
// search of N0 counts n series of n + 1 points); ns/point is then per point
// of those series.
//
//   build/zuvan_bench_analysis [records...]        (default 100 400 1000)
//   build/zuvan_bench_analysis --throat [records...]   (default 1000 10000)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "damage/ZuvanFatigueCriticalPlane.h"
#include "damage/ZuvanFatiguePlane.h"
#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"
#include "model/CZuvanFatigueUWCourbe.h"

namespace {

const char kContext[] =
    "*MATERIAU           P265GH\n"
    "*TYPE               F\n"
    "*PARAMETRE          265 410 201660 0.3\n"
    "*RPT                20 265\n"
    "*RPT                100 241\n"
    "*RPT                200 205\n"
    "*RPT                300 173\n"
    "*FIN_MATERIAU\n"
    "*CLASSE             71\n"
    "*PARAMETRE          2000000 52.6 100000000 29\n"
    "*PARAMETRES         3 7.16e11 5 1.99e15\n"
    "*FIN_CLASSE\n"
    "*CLASSIFICATION     BW\n"
    "*CORDON_CLASSE      71\n"
    "*FIN_CLASSIFICATION\n";

constexpr double kRmMPa = 410.0;

std::string Tensor(std::mt19937& rng, double scale, std::array<double, 6>* kept = nullptr) {
    std::uniform_real_distribution<double> u(-scale, scale);
    std::ostringstream s;
    s.precision(6);
    for (int c = 0; c < 6; ++c) {
        const double v = u(rng);
        s << ' ' << v;
        if (kept) (*kept)[c] = v;
    }
    return s.str();
}

// A data deck: one shell (two for a seam), an unwelded zone or a longitudinal
// seam with a form imperfection, a history of n random records (mechanical
// and thermal parts) and one rainflow request. totals receives the total
// tensors of the records.
enum class Kind { kUWZone, kSeam, kThroat };

std::string DataDeck(int n, unsigned seed, Kind kind, std::vector<std::array<double, 6>>* totals) {
    const bool weld = kind != Kind::kUWZone;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> temperature(20.0, 280.0);
    std::ostringstream d;
    d << "*COMPOSANT          SHELL\n*TYPE               TOLE_CYLINDRE\n"
         "*PARAMETRE          30 10 0.5\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
    if (weld) {
        d << "*COMPOSANT          SHELL2\n*TYPE               TOLE_CYLINDRE\n"
             "*PARAMETRE          32 10 0.5\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n"
             "*CORDON             SEAM\n*CORDON_TYPE        BW\n*COMPOSANT_1        SHELL\n"
             "*COMPOSANT_2        SHELL2\n";
        if (kind == Kind::kSeam) {
            d << "*LONGITUDINAL\n*IMPERFECTION       I\n"
                 "*DIAMETRE           2000 2010 1990\n*PARAMETRE          1 0 0 2\n"
                 "*FIN_IMPERFECTION\n";
        }
        d << "*FIN_CORDON\n*HISTORIQUE         H\n"
          << (kind == Kind::kSeam ? "*HISTORIQUE_CORDON  SEAM\n" : "*HISTORIQUE_GORGE   SEAM\n");
    } else {
        d << "*UWZONE             ZONE\n*UWZONE_COMPOSANT   SHELL\n*FIN_UWZONE\n"
             "*HISTORIQUE         H\n*HISTORIQUE_UWZONE  ZONE\n";
    }
    for (int k = 0; k < n; ++k) {
        d << "*RELEVE             R" << k << "\n*PARAMETRE 1 " << temperature(rng) << "\n";
        const std::string lm = Tensor(rng, 120.0), lt = Tensor(rng, 60.0);
        std::array<double, 6> sij{};
        const std::string total = Tensor(rng, 200.0, &sij);
        if (totals) totals->push_back(sij);
        d << "*SIJ" << total << "\n*SIJM" << Tensor(rng, 80.0) << "\n*SIJLM" << lm << "\n*SIJLT"
          << lt << "\n*FIN_RELEVE\n";
    }
    d << "*FIN_HISTORIQUE\n*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     bench.txt\n"
         "*RAINFLOW\n*FIN_DOMMAGE\n";
    return d.str();
}

long PeakKiB() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor seconds of the process so far (all its threads, user and system):
// less sensitive than the wall clock to other work on the machine.
double CpuSeconds() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

double CountedPoints(int n) { return 5184.0 * n * (n + 1.0); }

// The lean loop on the total tensors: returns the largest plane damage (so
// that nothing is optimised away).
double LeanLoop(const std::vector<std::array<double, 6>>& sij) {
    namespace cp = ZuvanFatigueCriticalPlane;
    CZuvanFatigueUWCourbe curve;
    curve.SetDefinition("BENCH", kRmMPa);
    const int n = static_cast<int>(sij.size());
    std::vector<double> sxy(n), sxz(n), series(n + 1);
    std::vector<double> stack(n + 2);
    double top = 0.0;
    for (double theta : cp::GridAngles()) {
        for (double phi : cp::GridAngles()) {
            const cp::Frame frame = cp::MakeFrame(theta, phi);
            for (int k = 0; k < n; ++k) {
                double sxx;
                cp::PlaneStresses(sij[k], frame, sxx, sxy[k], sxz[k]);
            }
            double planeDamage = 0.0;
            for (int n0 = 0; n0 < n; ++n0) {
                const double y0 = sxy[n0], z0 = sxz[n0];
                double largest = 0.0;
                int m = 0;
                const auto point = [&](int k) {
                    const double v = cp::DSigmaEq(sxy[k], sxz[k], y0, z0);
                    if (v > largest) largest = v;
                    series[m++] = v;
                };
                for (int k = n0; k < n; ++k) point(k);
                for (int k = 0; k < n0; ++k) point(k);
                series[0] = 0.0;
                series[m++] = 0.0;
                // Turning points pushed on a stack, the four-point rule at each push;
                // the residue counted again behind itself closes it.
                double damage = 0.0;
                int size = 0;
                const auto push = [&](double v) {
                    stack[size++] = v;
                    while (size >= 4) {
                        const double a = stack[size - 4], b = stack[size - 3];
                        const double c = stack[size - 2], d = stack[size - 1];
                        const double rangeB = std::fabs(c - b);
                        if (rangeB > std::fabs(b - a) || rangeB > std::fabs(d - c)) break;
                        damage += 1.0 / curve.PermissibleCycles(rangeB, largest, 0.2);
                        stack[size - 3] = d;
                        size -= 2;
                    }
                };
                push(series[0]);
                for (int j = 1; j + 1 < m; ++j) {
                    if ((series[j] - series[j - 1]) * (series[j + 1] - series[j]) < 0.0) {
                        push(series[j]);
                    }
                }
                push(series[m - 1]);
                const int r = size;
                for (int j = 1; j < r; ++j) push(stack[j]);
                if (damage > planeDamage) planeDamage = damage;
            }
            if (planeDamage > top) top = planeDamage;
        }
    }
    return top;
}

// One measured run in this process; prints its line.
int Measure(const boost::filesystem::path& dir, int n, Kind kind, int threads, bool lean) {
    std::vector<std::array<double, 6>> totals;
    const std::string deck = DataDeck(n, 20261210u + n, kind, &totals);
    char label[64];
    std::snprintf(label, sizeof label, "%s",
                  lean                    ? "lean loop"
                  : kind == Kind::kSeam   ? "welded zone"
                  : kind == Kind::kThroat ? "weld throat"
                                          : "unwelded zone");
    const double points = kind == Kind::kThroat ? n * (n + 1.0) : CountedPoints(n);
    if (lean) {
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const double top = LeanLoop(totals);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%-14s %8d %8d %10.3f %10.2f %10.3f %14.1f   (%.3g)\n", label, n, 1, seconds,
                    seconds * 1e9 / CountedPoints(n), CpuSeconds() - c0, PeakKiB() / 1024.0, top);
        return 0;
    }
    std::ofstream((dir / "d.dat").string()) << deck;
    std::ostringstream console;  // the deck echo is not part of the measure
    ZuvanFatigueCards::SetConsole(&console);
    CZuvanFatigueContexte context;
    CZuvanFatigue study;
    ZuvanFatigueCriticalPlane::SearchOptions options;
    options.threads = threads;
    study.SetSearchOptions(options);
    int code = context.Read((dir / "c.ctx").string().c_str());
    if (code == 0) code = study.SetContext(context);
    if (code == 0) code = study.SetInputFile((dir / "d.dat").string().c_str());
    if (code == 0) code = study.SetOutputDirectory(dir.string().c_str());
    const double c0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    if (code == 0) code = study.Read();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ZuvanFatigueCards::SetConsole(nullptr);
    if (code != 0) {
        std::printf("%-14s %8d %8d  failed with code %d\n", label, n, threads, code);
        return 1;
    }
    std::printf("%-14s %8d %8d %10.3f %10.2f %10.3f %14.1f\n", label, n, threads, seconds,
                seconds * 1e9 / points, CpuSeconds() - c0, PeakKiB() / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool throat = argc > 1 && std::string(argv[1]) == "--throat";
    const int first = throat ? 2 : 1;
    std::vector<int> sizes =
        throat ? std::vector<int>{1000, 10000} : std::vector<int>{100, 400, 1000};
    if (argc > first) {
        sizes.clear();
        for (int i = first; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    std::vector<int> threadCounts = {1};
    if (hardware > 1) threadCounts.push_back(static_cast<int>(hardware));

    namespace fs = boost::filesystem;
    const fs::path dir = fs::temp_directory_path() / fs::unique_path("zuvan-bench-%%%%-%%%%");
    fs::create_directories(dir);
    std::ofstream((dir / "c.ctx").string()) << kContext;
    std::printf("%-14s %8s %8s %10s %10s %10s %14s\n", "analysis", "records", "threads", "seconds",
                "ns/point", "cpu s", "peak RSS (MB)");
    std::fflush(stdout);
    int status = 0;
    for (int n : sizes) {
        struct Run {
            Kind kind;
            bool lean;
            int threads;
        };
        std::vector<Run> runs;
        if (throat) {
            runs.push_back({Kind::kThroat, false, 1});
        } else {
            runs.push_back({Kind::kUWZone, true, 1});
            for (Kind kind : {Kind::kUWZone, Kind::kSeam}) {
                for (int threads : threadCounts) runs.push_back({kind, false, threads});
            }
        }
        for (const Run& run : runs) {
            const pid_t child = fork();
            if (child == 0) {
                const int rc = Measure(dir, n, run.kind, run.threads, run.lean);
                std::fflush(stdout);
                _exit(rc);
            }
            int wstatus = 0;
            if (child < 0 || waitpid(child, &wstatus, 0) != child || !WIFEXITED(wstatus) ||
                WEXITSTATUS(wstatus) != 0) {
                status = 1;
            }
        }
    }
    boost::system::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}
