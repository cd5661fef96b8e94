// Report files through whole runs: each report (and each JSON line) is
// appended whole, so that runs appending to the same file at once, a run
// killed while it writes and a write that fails leave only whole reports;
// names never lead outside the output directory.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kDecks = std::string(ZUVAN_TEST_DIR) + "/decks/";
const std::string kExpected = std::string(ZUVAN_TEST_DIR) + "/expected/";

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// True when something other than a symbolic link stands at path.
bool Written(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode);
}

// The deck with its *FICHIER_SORTIE name replaced by name.
std::string Renamed(const std::string& deck, const std::string& name) {
    const std::string card = "*FICHIER_SORTIE     ";
    std::string renamed = deck;
    const std::size_t at = renamed.find(card);
    const std::size_t end = renamed.find('\n', at);
    renamed.replace(at + card.size(), end - at - card.size(), name);
    return renamed;
}

// The deck with its request block given once more at its end.
[[maybe_unused]] std::string Twice(const std::string& deck) {
    return deck + deck.substr(deck.find("*DOMMAGE\n"));
}

// Starts the program with the arguments, its console thrown away; the pid.
pid_t Start(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv;
        static std::string exe = ZUVAN_EXE;
        argv.push_back(const_cast<char*>(exe.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// Splits text into copies of the given reports: true when text is nothing but
// whole reports one after the other; counts[i] is how often reports[i] came.
bool WholeReports(const std::string& text, const std::vector<std::string>& reports,
                  std::vector<int>& counts) {
    counts.assign(reports.size(), 0);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t i = 0;
        while (i < reports.size() && text.compare(at, reports[i].size(), reports[i]) != 0) ++i;
        if (i == reports.size()) return false;
        ++counts[i];
        at += reports[i].size();
    }
    return true;
}

// True when every line of a JSON Lines file parses and the file ends with a
// line end; lines is the count.
bool WholeLines(const std::string& text, int& lines) {
    lines = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!nlohmann::json::accept(line)) return false;
        ++lines;
    }
    return text.empty() || text.back() == '\n';
}

}  // namespace

// Eight runs append the same report to one file at once, and two requests
// of different analyses share one file in each of four runs at once: each
// file holds whole reports and whole JSON lines only, as many as were asked.
TEST(ZuvanFatigueReportFile, RunsAppendingAtOnceLeaveWholeReports) {
    const std::string uw = ReadFile(kExpected + "uw-uniaxial.txt");
    const std::string seam = ReadFile(kExpected + "weld-seam-plain.txt");
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        TempDir dir;
        // Same report, eight runs.
        std::vector<pid_t> runs;
        for (int k = 0; k < 8; ++k) {
            runs.push_back(Start({"--json", "-c", kDecks + "uw.ctx", "-d",
                                  kDecks + "uw-uniaxial.dat", "-o", dir.Path()}));
        }
        for (const pid_t pid : runs) EXPECT_EQ(Wait(pid), 0);
        std::vector<int> counts;
        EXPECT_TRUE(WholeReports(ReadFile(dir.Path() + "/uw.txt"), {uw}, counts));
        EXPECT_EQ(counts, std::vector<int>({8}));
        int lines = 0;
        EXPECT_TRUE(WholeLines(ReadFile(dir.Path() + "/uw.txt.jsonl"), lines));
        EXPECT_EQ(lines, 8);

        // Two requests on one file: the weld seam's report goes to uw.txt too.
        runs.clear();
        const std::string seamDeck =
            dir.Write("seam.dat", Renamed(ReadFile(kDecks + "weld-seam-plain.dat"), "both.txt"));
        const std::string uwDeck =
            dir.Write("uw.dat", Renamed(ReadFile(kDecks + "uw-uniaxial.dat"), "both.txt"));
        for (int k = 0; k < 4; ++k) {
            runs.push_back(
                Start({"--json", "-c", kDecks + "weld.ctx", "-d", seamDeck, "-o", dir.Path()}));
            runs.push_back(
                Start({"--json", "-c", kDecks + "uw.ctx", "-d", uwDeck, "-o", dir.Path()}));
        }
        for (const pid_t pid : runs) EXPECT_EQ(Wait(pid), 0);
        EXPECT_TRUE(WholeReports(ReadFile(dir.Path() + "/both.txt"), {uw, seam}, counts));
        EXPECT_EQ(counts, std::vector<int>({4, 4}));
        EXPECT_TRUE(WholeLines(ReadFile(dir.Path() + "/both.txt.jsonl"), lines));
        EXPECT_EQ(lines, 8);
    }
}

// A run killed (SIGKILL) while it writes its reports: the kill lands at each
// write the run makes on the report file in turn (the fault shim raises it
// as the write begins). Two requests name the same file: it ends with no,
// one or two whole reports, never a piece of one; the next run appends
// cleanly after them.
TEST(ZuvanFatigueReportFile, AKilledRunLeavesEachReportWholeOrAbsent) {
#ifndef ZUVAN_WRITE_FAULT
    GTEST_SKIP() << "no write-fault shim in a sanitizer build (LD_PRELOAD)";
#else
    const std::string uw = ReadFile(kExpected + "uw-uniaxial.txt");
    const std::string deck = Twice(ReadFile(kDecks + "uw-uniaxial.dat"));
    for (int at = 1;; ++at) {
        SCOPED_TRACE(testing::Message() << "killed at write " << at);
        TempDir dir;
        const std::string report = dir.Path() + "/uw.txt";
        const std::vector<std::string> args = {
            "--json", "-c", kDecks + "uw.ctx", "-d", dir.Write("d.dat", deck), "-o", dir.Path()};
        const RunResult r =
            RunProgram(args, {"LD_PRELOAD=" ZUVAN_WRITE_FAULT, "ZUVAN_KILL_FILE=" + report,
                              "ZUVAN_KILL_AT=" + std::to_string(at)});
        std::vector<int> counts;
        EXPECT_TRUE(WholeReports(ReadFile(report), {uw}, counts));
        int lines = 0;
        EXPECT_TRUE(WholeLines(ReadFile(report + ".jsonl"), lines));
        // The next run appends its report and line after what was left.
        ASSERT_EQ(RunProgram(args).status, 0);
        std::vector<int> after;
        EXPECT_TRUE(WholeReports(ReadFile(report), {uw}, after));
        EXPECT_EQ(after[0], counts[0] + 2);
        int linesAfter = 0;
        EXPECT_TRUE(WholeLines(ReadFile(report + ".jsonl"), linesAfter));
        EXPECT_EQ(linesAfter, lines + 2);
        if (r.status != 1000 + SIGKILL) {
            // Past the run's last write on the report: it ended normally.
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(counts[0], 2);
            break;
        }
        EXPECT_EQ(counts[0], at - 1);
        ASSERT_LT(at, 100);
    }
#endif
}

// Names that would lead outside the output directory, or that a terminal
// would act on, end the run with 290 before anything is written, the report
// and its JSON line alike; an output directory that is itself a link is
// followed.
TEST(ZuvanFatigueReportFile, NamesStayInsideTheOutputDirectory) {
    const std::string deck = ReadFile(kDecks + "uw-uniaxial.dat");
    const std::string uw = ReadFile(kExpected + "uw-uniaxial.txt");
    struct Case {
        const char* what;
        std::string name;        // the *FICHIER_SORTIE name
        const char* link;        // a link made in the output directory, or null
        const char* linkTarget;  // what it points to ("@" stands for the folder outside)
        int code;
    };
    const std::string longName(250, 'r');  // the name fits, with ".jsonl" it does not
    const Case cases[] = {
        {"a folder link", "link/x.txt", "link", "@", 290},
        {"a folder link inside", "back/x.txt", "back", ".", 290},
        {"a link at the name", "x.txt", "x.txt", "@/x.txt", 290},
        {"a link at the JSON name", "x.txt", "x.txt.jsonl", "@/x.txt.jsonl", 290},
        {"a dangling link at the name", "x.txt", "x.txt", "@/none/x.txt", 290},
        {"a link to a report inside", "x.txt", "x.txt", "real.txt", 290},
        {"a tab", "x\t.txt", nullptr, nullptr, 290},
        {"an escape sequence", "x\x1b[2J.txt", nullptr, nullptr, 290},
        {"a delete byte", "x\x7f.txt", nullptr, nullptr, 290},
        {"a name whose JSON name is too long", longName, nullptr, nullptr, 290},
        {"a name of 249 bytes", longName.substr(1), nullptr, nullptr, 0},
        {"a name with trailing blanks", "x.txt  ", nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string out = dir.Path() + "/out", outside = dir.Path() + "/outside";
        ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(outside.c_str(), 0755), 0);
        if (c.link != nullptr) {
            std::string target = c.linkTarget;
            if (target[0] == '@') target = outside + target.substr(1);
            ASSERT_EQ(::symlink(target.c_str(), (out + "/" + c.link).c_str()), 0);
        }
        const RunResult r = RunProgram({"--json", "-c", kDecks + "uw.ctx", "-d",
                                        dir.Write("d.dat", Renamed(deck, c.name)), "-o", out});
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
        // Nothing outside, nothing new inside when refused.
        EXPECT_FALSE(Exists(outside + "/x.txt"));
        EXPECT_FALSE(Exists(outside + "/x.txt.jsonl"));
        EXPECT_FALSE(Exists(out + "/real.txt"));
        if (c.code != 0) {
            EXPECT_FALSE(Written(out + "/" + c.name));
            EXPECT_FALSE(Written(out + "/" + c.name + ".jsonl"));
        } else {
            EXPECT_EQ(ReadFile(out + "/" + c.name), uw);
        }
    }

    // The output directory itself may be a link.
    TempDir dir;
    const std::string real = dir.Path() + "/real";
    ASSERT_EQ(::mkdir(real.c_str(), 0755), 0);
    ASSERT_EQ(::symlink(real.c_str(), (dir.Path() + "/out").c_str()), 0);
    const RunResult r = RunProgram({"--json", "-c", kDecks + "uw.ctx", "-d",
                                    kDecks + "uw-uniaxial.dat", "-o", dir.Path() + "/out"});
    EXPECT_EQ(r.status, 0) << r.console;
    EXPECT_EQ(ReadFile(real + "/uw.txt"), uw);
    int lines = 0;
    EXPECT_TRUE(WholeLines(ReadFile(real + "/uw.txt.jsonl"), lines));
    EXPECT_EQ(lines, 1);
}
