// --check's plausibility warnings on standard output, after the request
// lines: the history and record named, the exit status and console those of
// the check without them.

#include <gtest/gtest.h>

#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kExamples = std::string(ZUVAN_EXAMPLES_DIR) + "/";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(ZuvanFatigueRun, CheckWarnsOfImplausibleValuesWithoutChangingTheCheck) {
    TempDir dir;
    const std::string context = kExamples + "context.ctx";
    const std::string good = ReadFile(kExamples + "weld-seam.data");
    // The seam's pressure in bar: 30 where the membrane stress is 150 MPa.
    const std::string data = dir.Write(
        "bar.data", Replaced(good, "*PARAMETRE          3 20\n", "*PARAMETRE          30 20\n"));
    const RunResult plain =
        RunProgram({"--check", "-d", kExamples + "weld-seam.data", "-c", context});
    const RunResult r = RunProgram({"--check", "-d", data, "-c", context});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(CodeOf(r), 0);
    EXPECT_EQ(plain.output.find("avertissement"), std::string::npos);
    ASSERT_EQ(r.output.compare(0, plain.output.size(), plain.output), 0);
    EXPECT_EQ(r.output.substr(plain.output.size()),
              data + Latin9(": avertissement : historique H-SOUDURE, relevé 1 (Pressurised, "
                            "cold) : une pression de 30 MPa dépasse le dixième de la plus grande "
                            "contrainte de membrane de l'historique (150 MPa) : en bar ?\n"));
    // A run of the same deck prints no warning and computes as before.
    const RunResult run = RunProgram({"-d", data, "-c", context, "-o", dir.Path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.console.find("avertissement"), std::string::npos);
}
