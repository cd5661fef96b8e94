// Benchmark of deck reading: a generated data deck of one unwelded zone and
// one history of n records (seven lines each) is read with the console's
// standard error redirected to a file, as a user's "2> run.log" does: by a
// plain run of the deck without its damage request ("read": every line read,
// echoed and interpreted, nothing to compute), and by "--check" of the deck
// with its request ("check": the request defined and resolved too). Each run
// is a child process of its own; the best of five is kept. Prints lines,
// seconds, lines per second (of wall-clock and of processor time) and the
// peak memory, and checks that the console holds both decks byte for byte
// followed by the normal end report.
//
//   build/zuvan_bench_deck [--program PATH] [records...]     (default 20000)
//
// The child runs the ZuvanFatigue beside this program (build/ZuvanFatigue),
// or with --program another one (an older build, to compare).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

const char kContext[] =
    "/ Context of the deck-reading benchmark\n"
    "*MATERIAU           P265GH\n"
    "*TYPE               F\n"
    "*PARAMETRE          265 410 201660 0.3\n"
    "*RPT                20 265\n"
    "*RPT                100 241\n"
    "*RPT                200 205\n"
    "*RPT                300 173\n"
    "*FIN_MATERIAU\n";

const char kEnd[] = " \n Fin normale du travail \n \n";

// A stress value as finite-element exports write them: a few decimals.
std::string Value(std::mt19937_64& random) {
    std::uniform_real_distribution<double> stress(-400.0, 400.0);
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", stress(random));
    return text;
}

std::string DataDeck(int records, bool request) {
    std::mt19937_64 random(15);
    std::ostringstream deck;
    deck << "/ Deck-reading benchmark: one history of " << records << " records\n"
         << "*COMPOSANT          C1\n*TYPE               GENERAL\n"
         << "*PARAMETRE          20 12.5 0\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n"
         << "*UWZONE             Z1\n*UWZONE_COMPOSANT   C1\n*FIN_UWZONE\n"
         << "*HISTORIQUE         H1\n*HISTORIQUE_UWZONE  Z1\n";
    const char* const tensors[] = {"*SIJ                ", "*SIJM               ",
                                   "*SIJLM              ", "*SIJLT              "};
    for (int k = 0; k < records; ++k) {
        deck << "*RELEVE             R" << k << "\n*PARAMETRE          " << (k % 3) * 5 << ' '
             << 20 + (k % 7) * 25 << '\n';
        for (const char* card : tensors) {
            deck << card;
            for (int c = 0; c < 6; ++c) deck << (c ? " " : "") << Value(random);
            deck << '\n';
        }
        deck << "*FIN_RELEVE\n";
    }
    deck << "*FIN_HISTORIQUE\n";
    if (request) {
        deck << "*DOMMAGE\n*POINT_HISTORIQUE   H1\n"
             << "*FICHIER_SORTIE     h1.txt\n*RAINFLOW\n*FIN_DOMMAGE\n";
    }
    return deck.str();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Timing {
    double seconds = 0.0;
    double cpuSeconds = 0.0;  // user and system time of the child
    long peakKiB = 0;
    int status = -1;
};

// Runs "-d data -c context" followed by more in a child whose standard
// error is the file consolePath and whose standard output is /dev/null.
Timing RunChild(const std::string& program, const std::string& data, const std::string& context,
                const std::vector<std::string>& more, const std::string& consolePath) {
    Timing t;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(consolePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int out = open("/dev/null", O_WRONLY);
        if (err < 0 || out < 0 || dup2(err, 2) < 0 || dup2(out, 1) < 0) _exit(127);
        std::vector<std::string> args = {"ZuvanFatigue", "-d", data, "-c", context};
        args.insert(args.end(), more.begin(), more.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return t;
    t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.peakKiB = usage.ru_maxrss;
    t.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                   usage.ru_stime.tv_usec * 1e-6;
    t.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return t;
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<int> sizes;
    std::string program;
    bool checks = true;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--program" && i + 1 < argc) {
            program = argv[++i];
            checks = false;
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty()) sizes = {20000};
    if (program.empty()) {
        program = (boost::filesystem::read_symlink("/proc/self/exe").parent_path() / "ZuvanFatigue")
                      .string();
    }
    const boost::filesystem::path dir =
        boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("zuvan-%%%%%%%%");
    boost::filesystem::create_directories(dir);
    const std::string context = (dir / "bench.ctx").string();
    std::ofstream(context.c_str(), std::ios::binary) << kContext;

    // On a shared machine the wall time waits for the processor: the lines per
    // processor second show what the reading itself costs.
    std::printf("%6s %9s %9s %9s %12s %9s %12s %9s\n", "run", "records", "lines", "seconds",
                "lines/s", "cpu s", "lines/cpu s", "peak MiB");
    int failures = 0;
    const std::string out = dir.string();
    for (const int records : sizes) {
        // An older program knows no --check: it runs "read" only.
        for (const bool check : {false, true}) {
            if (check && !checks) continue;
            const std::string deck = DataDeck(records, check);
            const std::string data = (dir / "bench.data").string();
            std::ofstream(data.c_str(), std::ios::binary) << deck;
            const std::string consolePath = (dir / "console.txt").string();
            const std::string expected = std::string(kContext) + deck + kEnd;
            long lines = 0;
            for (char c : expected) lines += c == '\n';
            lines -= 3;  // the end report's lines
            const std::vector<std::string> more =
                check ? std::vector<std::string>{"--check"} : std::vector<std::string>{"-o", out};
            Timing best;
            for (int run = 0; run < 5; ++run) {
                const Timing t = RunChild(program, data, context, more, consolePath);
                if (t.status != 0 || ReadAll(consolePath) != expected) {
                    std::fprintf(stderr, "run of %d records: status %d or console not as read\n",
                                 records, t.status);
                    ++failures;
                    break;
                }
                if (run == 0 || t.seconds < best.seconds) best = t;
            }
            std::printf("%6s %9d %9ld %9.3f %12.0f %9.3f %12.0f %9.1f\n", check ? "check" : "read",
                        records, lines, best.seconds, lines / best.seconds, best.cpuSeconds,
                        lines / best.cpuSeconds, best.peakKiB / 1024.0);
        }
    }
    boost::filesystem::remove_all(dir);
    return failures == 0 ? 0 : 1;
}
