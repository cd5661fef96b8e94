// A report that cannot be written (a full disk) ends every analysis with 290
// and leaves the file as it was before it: the reports written before it
// intact, byte for byte, and no piece of the failed one, so that a later run
// appends cleanly. The same for a JSON line. The program runs with a shim
// (tests/faults/) that makes writes to the file fail with ENOSPC once a given
// number of bytes has been written to it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kDecks = std::string(ZUVAN_TEST_DIR) + "/decks/";

}  // namespace

TEST(ZuvanFatigueWriteFault, AFullDiskEndsWith290AndKeepsEarlierReports) {
#ifndef ZUVAN_WRITE_FAULT
    GTEST_SKIP() << "no write-fault shim in a sanitizer build (LD_PRELOAD)";
#else
    struct Deck {
        const char* data;
        const char* context;
        const char* report;  // its *FICHIER_SORTIE name
    };
    const Deck decks[] = {
        {"uw-uniaxial.dat", "uw.ctx", "uw.txt"},
        {"weld-seam-plain.dat", "weld.ctx", "seam.txt"},
        {"weld-seam-imperfection.dat", "weld.ctx", "seam.txt"},
        {"weld-throat-pass.dat", "weld.ctx", "throat.txt"},
        {"weld-throat-refused.dat", "weld.ctx", "throat.txt"},
    };
    for (const Deck& d : decks) {
        SCOPED_TRACE(d.data);
        // The deck with its request given twice: the second report follows the first.
        const std::string deck = ReadFile(kDecks + d.data);
        const std::size_t request = deck.find("*DOMMAGE\n");
        ASSERT_NE(request, std::string::npos);
        const std::string twice = deck + deck.substr(request);
        const std::string context = kDecks + d.context;

        // The first report alone, written without fault.
        std::string first;
        {
            TempDir dir;
            const RunResult r =
                RunProgram({"-c", context, "-d", dir.Write("d.dat", deck), "-o", dir.Path()});
            ASSERT_EQ(r.status, 0);
            first = ReadFile(dir.Path() + "/" + d.report);
            ASSERT_GT(first.size(), 2u);
        }
        // The second report fails at its first byte, half-way and at its last byte.
        const std::size_t at[] = {0, first.size() / 2, first.size() - 1};
        for (const std::size_t offset : at) {
            SCOPED_TRACE(testing::Message() << "fails from byte " << offset << " of "
                                            << first.size() << " of the second report");
            TempDir dir;
            const std::string report = dir.Path() + "/" + d.report;
            const RunResult r =
                RunProgram({"-c", context, "-d", dir.Write("d.dat", twice), "-o", dir.Path()},
                           {"LD_PRELOAD=" ZUVAN_WRITE_FAULT, "ZUVAN_FAULT_FILE=" + report,
                            "ZUVAN_FAULT_AFTER=" + std::to_string(first.size() + offset)});
            EXPECT_EQ(r.status, 290 % 256);
            EXPECT_EQ(CodeOf(r), 290);
            EXPECT_NE(r.console.find(" Fin anormale du travail \n Code d'erreur : 290 \n"),
                      std::string::npos);
            EXPECT_EQ(r.console.find(" Fin normale du travail "), std::string::npos);
            EXPECT_EQ(ReadFile(report), first);
            // A run without fault appends its report whole after the first.
            ASSERT_EQ(RunProgram({"-c", context, "-d", dir.Write("d.dat", deck), "-o", dir.Path()})
                          .status,
                      0);
            EXPECT_EQ(ReadFile(report), first + first);
        }
    }
#endif
}

namespace {

// The lines of a JSON Lines file; false when one does not parse or the file
// does not end with a line end.
bool ParsedLines(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!nlohmann::json::accept(line)) return false;
        lines.push_back(line + "\n");
    }
    return text.empty() || text.back() == '\n';
}

}  // namespace

TEST(ZuvanFatigueWriteFault, AJsonLineCutShortLeavesTheFileAsItWas) {
#ifndef ZUVAN_WRITE_FAULT
    GTEST_SKIP() << "no write-fault shim in a sanitizer build (LD_PRELOAD)";
#else
    const std::string deck = ReadFile(kDecks + "uw-uniaxial.dat");
    const std::string twice = deck + deck.substr(deck.find("*DOMMAGE\n"));
    const std::string context = kDecks + "uw.ctx";
    std::vector<std::string> lines;
    {
        TempDir dir;
        ASSERT_EQ(
            RunProgram({"--json", "-c", context, "-d", dir.Write("d.dat", twice), "-o", dir.Path()})
                .status,
            0);
        ASSERT_TRUE(ParsedLines(ReadFile(dir.Path() + "/uw.txt.jsonl"), lines));
        ASSERT_EQ(lines.size(), 2u);
    }
    const std::size_t at[] = {lines[1].size() / 2, lines[1].size() - 1};
    for (const std::size_t offset : at) {
        SCOPED_TRACE(testing::Message()
                     << "the second line fails from byte " << offset << " of " << lines[1].size());
        TempDir dir;
        const std::string path = dir.Path() + "/uw.txt.jsonl";
        const RunResult r =
            RunProgram({"--json", "-c", context, "-d", dir.Write("d.dat", twice), "-o", dir.Path()},
                       {"LD_PRELOAD=" ZUVAN_WRITE_FAULT, "ZUVAN_FAULT_FILE=" + path,
                        "ZUVAN_FAULT_AFTER=" + std::to_string(lines[0].size() + offset)});
        EXPECT_EQ(CodeOf(r), 290);
        EXPECT_EQ(WithoutRun(ReadFile(path)), WithoutRun(lines[0]));
        // The next run appends a line that parses after it.
        ASSERT_EQ(
            RunProgram({"--json", "-c", context, "-d", dir.Write("d1.dat", deck), "-o", dir.Path()})
                .status,
            0);
        std::vector<std::string> after;
        EXPECT_TRUE(ParsedLines(ReadFile(path), after));
        EXPECT_EQ(after.size(), 2u);
    }
#endif
}
