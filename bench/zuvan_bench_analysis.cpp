// Benchmark of the whole damage analyses: generated, seeded histories of 25,
// 50, 100 and 200 records on an unwelded zone and on a weld seam (with a form
// imperfection) are read from a deck and assessed (report written), timing
// each run and reading the peak memory of the process.
//
//   build/zuvan_bench_analysis [records...]

#include <sys/resource.h>

#include <boost/filesystem.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "deck/ZuvanFatigueCards.h"

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

std::string Tensor(std::mt19937& rng, double scale) {
    std::uniform_real_distribution<double> u(-scale, scale);
    std::ostringstream s;
    s.precision(6);
    for (int c = 0; c < 6; ++c) s << ' ' << u(rng);
    return s.str();
}

// A data deck: one shell (two for a seam), an unwelded zone or a longitudinal
// seam with a form imperfection, a history of n random records (mechanical
// and thermal parts) and one rainflow request.
std::string DataDeck(int n, unsigned seed, bool weld) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> temperature(20.0, 280.0);
    std::ostringstream d;
    d << "*COMPOSANT          SHELL\n*TYPE               TOLE_CYLINDRE\n"
         "*PARAMETRE          30 10 0.5\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
    if (weld) {
        d << "*COMPOSANT          SHELL2\n*TYPE               TOLE_CYLINDRE\n"
             "*PARAMETRE          32 10 0.5\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n"
             "*CORDON             SEAM\n*CORDON_TYPE        BW\n*COMPOSANT_1        SHELL\n"
             "*COMPOSANT_2        SHELL2\n*LONGITUDINAL\n*IMPERFECTION       I\n"
             "*DIAMETRE           2000 2010 1990\n*PARAMETRE          1 0 0 2\n"
             "*FIN_IMPERFECTION\n*FIN_CORDON\n"
             "*HISTORIQUE         H\n*HISTORIQUE_CORDON  SEAM\n";
    } else {
        d << "*UWZONE             ZONE\n*UWZONE_COMPOSANT   SHELL\n*FIN_UWZONE\n"
             "*HISTORIQUE         H\n*HISTORIQUE_UWZONE  ZONE\n";
    }
    for (int k = 0; k < n; ++k) {
        d << "*RELEVE             R" << k << "\n*PARAMETRE 1 " << temperature(rng) << "\n";
        const std::string lm = Tensor(rng, 120.0), lt = Tensor(rng, 60.0);
        d << "*SIJ" << Tensor(rng, 200.0) << "\n*SIJM" << Tensor(rng, 80.0) << "\n*SIJLM" << lm
          << "\n*SIJLT" << lt << "\n*FIN_RELEVE\n";
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

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<int> sizes = {25, 50, 100, 200};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    }
    namespace fs = boost::filesystem;
    const fs::path dir = fs::temp_directory_path() / fs::unique_path("zuvan-bench-%%%%-%%%%");
    fs::create_directories(dir);
    std::ofstream((dir / "c.ctx").string()) << kContext;
    std::ostringstream console;  // the deck echo is not part of the measure
    ZuvanFatigueCards::SetConsole(&console);
    std::printf("%-14s %8s %12s %14s\n", "analysis", "records", "seconds", "peak RSS (MB)");
    int status = 0;
    for (int run = 0; run < 2 * static_cast<int>(sizes.size()); ++run) {
        const bool weld = run >= static_cast<int>(sizes.size());
        const int n = sizes[run % sizes.size()];
        const char* analysis = weld ? "welded zone" : "unwelded zone";
        std::ofstream((dir / "d.dat").string()) << DataDeck(n, 20261210u + n, weld);
        CZuvanFatigueContexte context;
        CZuvanFatigue study;
        int code = context.Read((dir / "c.ctx").string().c_str());
        if (code == 0) code = study.SetContext(context);
        if (code == 0) code = study.SetInputFile((dir / "d.dat").string().c_str());
        if (code == 0) code = study.SetOutputDirectory(dir.string().c_str());
        const auto t0 = std::chrono::steady_clock::now();
        if (code == 0) code = study.Read();
        const auto t1 = std::chrono::steady_clock::now();
        console.str("");
        if (code != 0) {
            std::printf("%-14s %8d  failed with code %d\n", analysis, n, code);
            status = 1;
            continue;
        }
        std::printf("%-14s %8d %12.3f %14.1f\n", analysis, n,
                    std::chrono::duration<double>(t1 - t0).count(), PeakKiB() / 1024.0);
    }
    ZuvanFatigueCards::SetConsole(nullptr);
    boost::system::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}
