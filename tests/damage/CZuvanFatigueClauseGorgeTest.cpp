// The weld-throat check, through whole runs and through requests on studies
// built for the case. The lookup failures of the analysis are tested with the
// welded zone's (CZuvanFatigueClauseCordonTest).

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <memory>

#include "damage/CZuvanFatigueClause.h"
#include "deck/CZuvanFatigue.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/damage/ZuvanFatigueWeldTestSupport.h"

using namespace ZuvanFatigueTest;
using namespace ZuvanFatigueWeldTest;

namespace {

// Records of the given throat-plane vectors (Sxx Sxy Sxz), all at temperature t.
std::string Throat(const std::vector<std::string>& vectors, const std::string& t) {
    std::string records;
    for (const std::string& v : vectors) {
        const std::string s = v + " 0 0 0";
        records += Record("R", "0", t, s, kZero, s, kZero);
    }
    return records;
}

const std::string kTotal = "Taux d'endommagement total pour l'historique de contraintes : ";

}  // namespace

// Checked by hand: the vector goes (30, 0, 0) -> (60, 80, 0) -> 0 -> (30, 0, 0)
// at 150 °C. Origin 0 sees one cycle of |(30, 80, 0)| = 85.44 (N = 3732 at Cr
// 0.2), origins 1 and 2 one of 100 (N = 2328): N0 = 1, the equal origin 2
// does not replace it. 100 < 2*Rpt = 360 (the smaller Rpt at 150 °C); with a
// ferritic and an austenitic plate CtR = 1.03 - 0.0225 - 0.03375 = 0.97375,
// Ce = 1, N = 2.91e11 * (0.97375 / 100)^3 = 268680, damage 3.7219e-06.
TEST(CZuvanFatigueClauseGorge, PassingThroatGivesTheCheckedReport) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", kDecks + "weld-throat-pass.dat", "-o", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/throat.txt");
    EXPECT_EQ(report, ReadFile(kExpected + "weld-throat-pass.txt"));
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 5);
    EXPECT_EQ(report.back(), '\f');
}

// The same throat with stresses four times larger: the cycle of 400 exceeds
// 2*Rpt = 360; the report ends with the refusal block and the result is 0.
TEST(CZuvanFatigueClauseGorge, ThroatNeedingPlasticityCorrectionIsRefused) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", kDecks + "weld-throat-refused.dat", "-o", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/throat.txt");
    EXPECT_EQ(report, ReadFile(kExpected + "weld-throat-refused.txt"));
    EXPECT_EQ(report.find(kTotal), std::string::npos);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 4);
}

TEST(CZuvanFatigueClauseGorge, PlasticityLimitIsTwiceTheSmallerRpt) {
    struct Case {
        const char* what;
        const char* peak;  // vector of the middle record
        bool refused;
    };
    // From 0: |(216, 288, 0)| = 360 exactly, 2*Rpt at 150 °C.
    const Case cases[] = {
        {"range exactly 2*Rpt", "216 288 0", false},
        {"range just above", "216.01 288 0", true},
        {"shear only, below", "0 0 300", false},
        {"shear only, above", "0 0 361", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::unique_ptr<CZuvanFatigue> study =
            ReadStudy(dir, Seam("20", "WF", "20", "WA", "*HISTORIQUE_GORGE",
                                Throat({"0 0 0", c.peak, "0 0 0"}, "150")));
        const double damage = RunRequest(*study, dir.Path());
        const std::string report = ReadFile(dir.Path() + "/r.txt");
        if (c.refused) {
            EXPECT_EQ(damage, 0.0);
            EXPECT_NE(report.find("(DSigmaR>2.*Rpt) : Une correction de plasticité est "
                                  "nécessaire !\n"),
                      std::string::npos);
        } else {
            EXPECT_GT(damage, 0.0);
            EXPECT_EQ(report.find("(DSigmaR>2.*Rpt)"), std::string::npos);
            EXPECT_NE(report.find(kTotal), std::string::npos);
        }
        // Compute only gives the same value.
        EXPECT_EQ(RunRequest(*study, dir.Path(), CZuvanFatigueClause::kComputeOnly), damage);
    }
}

TEST(CZuvanFatigueClauseGorge, ConstantStressVectorGivesTheZeroDamageEnding) {
    TempDir dir;
    ASSERT_EQ(CodeOf(RunDeck(dir, Seam("20", "WF", "20", "WF", "*HISTORIQUE_GORGE",
                                       Throat({"50 20 10", "50 20 10", "50 20 10"}, "20")) +
                                      kRequest)),
              0);
    const std::string report = ReadFile(dir.Path() + "/r.txt");
    const std::string ending =
        "|    N0      |  Dommage   |\n"
        "|          0 |  0.000e+00 |\n"
        "\n"
        "Le taux d'endommagement sur la gorge est nul !\n"
        "Taux d'endommagement total pour l'historique étudié : 0.\n"
        "*****************************************************\n";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 4);
}

// CtR in the final table of one cycle of 100 MPa.
TEST(CZuvanFatigueClauseGorge, TemperatureFactorFollowsThePairOfMaterials) {
    struct Case {
        const char *what, *ma, *mb, *t, *ctr;
    };
    const Case cases[] = {
        {"100 °C", "WA", "WA", "100", "1.000"},
        {"austenitic pair at 200 °C", "WA", "WA", "200", "0.957"},
        {"mixed pair at 200 °C", "WA", "WF", "200", "0.940"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ASSERT_EQ(CodeOf(RunDeck(dir, Seam("20", c.ma, "20", c.mb, "*HISTORIQUE_GORGE",
                                           Throat({"0 0 0", "100 0 0", "0 0 0"}, c.t)) +
                                          kRequest)),
                  0);
        const std::string report = ReadFile(dir.Path() + "/r.txt");
        const std::size_t at = report.rfind("|   100.000 | ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(report.substr(at + 23, 21), std::string("|   ") + c.ctr + " |   " + c.ctr + " |");
    }
}

// N is written in the classic locale: no digit grouping under a French
// environment, while the other numbers take its decimal comma.
TEST(CZuvanFatigueClauseGorge, PermissibleCyclesIgnoreTheEnvironmentsGrouping) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", kDecks + "weld-throat-pass.dat", "-o", dir.Path()},
                   {"LC_ALL=fr_FR.UTF-8", "LANG=fr_FR.UTF-8"});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/throat.txt");
    if (report.find("Coefficient de Poisson           : 0,3\n") == std::string::npos) {
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed (scripts/setup.sh generates it)";
    }
    EXPECT_NE(report.find("|   100,000 |  150,000 |   0,974 |   0,974 |     268680 |  3,722e-06 |"),
              std::string::npos);
    EXPECT_NE(report.find(kTotal + "3,7219e-06\n"), std::string::npos);
}

// A full disk during the report, in either locale: the write failure is
// reported as such (290), not as an unknown fault, though N is formatted in
// the classic locale.
TEST(CZuvanFatigueClauseGorge, FullDiskEndsWith290) {
    if (!boost::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string request =
        "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     full\n*RAINFLOW\n*FIN_DOMMAGE\n";
    const std::string deck = Seam("20", "WF", "20", "WA", "*HISTORIQUE_GORGE",
                                  Throat({"30 0 0", "60 80 0", "0 0 0", "30 0 0"}, "150")) +
                             request;
    for (const char* locale : {"C", "fr_FR.UTF-8"}) {
        SCOPED_TRACE(locale);
        TempDir dir;
        const RunResult r =
            RunProgram({"-c", kContext, "-d", dir.Write("d.dat", deck), "-o", "/dev"},
                       {std::string("LC_ALL=") + locale});
        EXPECT_EQ(CodeOf(r), 290);
    }
}
