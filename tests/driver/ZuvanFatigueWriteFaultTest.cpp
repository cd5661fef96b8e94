// A report that cannot be written (a full disk) ends every analysis with 290
// and leaves the reports written before it intact, byte for byte. The program
// runs with a shim (tests/faults/) that makes writes to the report file fail
// with ENOSPC once a given number of bytes has been written to it.

#include <gtest/gtest.h>

#include <string>

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
            const std::string written = ReadFile(report);
            EXPECT_EQ(written.substr(0, first.size()), first);
            EXPECT_EQ(written.size(), first.size() + offset);
        }
    }
#endif
}
