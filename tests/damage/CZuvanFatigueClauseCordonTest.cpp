// The welded-zone analysis, through whole runs and through requests on
// studies built for the case.

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem.hpp>
#include <memory>
#include <vector>

#include "damage/CZuvanFatigueClause.h"
#include "deck/CZuvanFatigue.h"
#include "deck/CZuvanFatigueContexte.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueMateriau.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatigueReleve.h"
#include "tests/ZuvanFatigueTestSupport.h"
#include "tests/damage/ZuvanFatigueWeldTestSupport.h"

using namespace ZuvanFatigueTest;
using namespace ZuvanFatigueWeldTest;

namespace {

// Zero, a uniaxial total and linearised stress s (membrane too) at temperature
// t, zero again.
std::string Uniaxial(const std::string& s, const std::string& t, const std::string& lm = "",
                     const std::string& lt = kZero) {
    const std::string x = s + " 0 0 0 0 0";
    return Record("R0", "0", t, kZero, kZero, kZero, kZero) +
           Record("R1", "1", t, x, x, lm.empty() ? x : lm, lt) +
           Record("R0", "0", t, kZero, kZero, kZero, kZero);
}

std::string Between(const std::string& text, const std::string& from, std::size_t length) {
    const std::size_t at = text.find(from);
    return at == std::string::npos ? std::string() : text.substr(at, length);
}

}  // namespace

// Checked against an independent computation: a ferritic plate of 20 mm and
// an austenitic one of 40 mm, one cycle 0 -> 500 -> 0 MPa at 150 °C. The
// search keeps the first plane of the largest damage (N = 18 at Cr 0.2 from
// Phi 42.5 on, Theta 0), where DSigmaR = 500 sin 85° = 498.097; Rpt is the
// smaller 180 and Ke = 1 + (0.4 + 100/3000)(500/360 - 1) = 1.16852 with the
// type-20 rule and the smaller Rm 600, so DSigmaR becomes 582.036; Ce =
// (25/40)^0.25 = 0.88914, CtR = 0.97375 (type-20 formula), N = 957.
TEST(CZuvanFatigueClauseCordon, SeamWithoutImperfectionGivesTheCheckedReport) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", kDecks + "weld-seam-plain.dat", "-o", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/seam.txt");
    EXPECT_EQ(report, ReadFile(kExpected + "weld-seam-plain.txt"));
    EXPECT_EQ(report.find("Intensification des contraintes"), std::string::npos);
    // After the second material, the class, the history and the legend, and last.
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 5);
    EXPECT_EQ(report.back(), '\f');
}

// Checked by hand: plates of 10 and 12 mm, e = 1 mm, A perpendicular =
// 1 + 0.25 * 1.2^0.67 = 1.2824824, A parallel = 1: Sxx and Sxxlm of 100 MPa
// become 128.248, Syy stays 50. The critical plane Theta 0 / Phi 45 sees
// DSigmaR = 128.248, Ce = 1 (12 mm), CtR = 1, N = 2.91e11 / 128.248^3 = 137955.
TEST(CZuvanFatigueClauseCordon, SeamWithImperfectionIntensifiesTheMembraneStresses) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kContext, "-d", kDecks + "weld-seam-imperfection.dat", "-o", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/seam.txt");
    EXPECT_EQ(report, ReadFile(kExpected + "weld-seam-imperfection.txt"));
    EXPECT_NE(report.find("Valeurs des contraintes après intensification selon C11.A6 :\n"
                          "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |"
                          "    Szz     |\n"
                          "|    128.248 |          0 |          0 |         50 |          0 |"
                          "          0 |\n"),
              std::string::npos);
    // The intensification section adds its own page break.
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 6);
}

TEST(CZuvanFatigueClauseCordon, IntensificationStaysInsideTheRun) {
    TempDir dir;
    const std::string data = ReadFile(kDecks + "weld-seam-imperfection.dat");
    std::unique_ptr<CZuvanFatigue> study = ReadStudy(dir, data.substr(0, data.find("*DOMMAGE")));
    CZuvanFatigueClause request;
    request.SetDefinition(*study, dir.Path(), "r.txt", "H2", CZuvanFatigueClause::kTresca,
                          CZuvanFatigueClause::kRainFlow);
    // Compute only (the request's first switch): nothing is written.
    const double first = request.Damage();
    EXPECT_NEAR(first, 1.0 / 137955, 1e-15);
    EXPECT_FALSE(boost::filesystem::exists(dir.Path() + "/r.txt"));
    // Run again on the same request: the records are intensified once only,
    // and the study's history keeps the given stresses.
    EXPECT_EQ(request.Damage(), first);
    EXPECT_EQ(study->GetHistory("H2").GetRecord(1).GetSij()[0], 100.0);
    request.SetReportSwitch(CZuvanFatigueClause::kWriteReport);
    EXPECT_EQ(request.Damage(), first);
    EXPECT_NE(ReadFile(dir.Path() + "/r.txt").find("Intensification"), std::string::npos);
}

TEST(CZuvanFatigueClauseCordon, ImperfectionOfNoEffectLeavesTheStresses) {
    TempDir with, without;
    const std::string records = Uniaxial("300", "20");
    // Cylinder plates, circumferential seam with e = 0: A = 1 both ways.
    const std::string plates =
        "*COMPOSANT          A\n*TYPE               TOLE_CYLINDRE\n*PARAMETRE 20 12.5 0.5\n"
        "*COMPOSANT_MATERIAU WF\n*FIN_COMPOSANT\n"
        "*COMPOSANT          B\n*TYPE               TOLE_CYLINDRE\n*PARAMETRE 20 12.5 0.5\n"
        "*COMPOSANT_MATERIAU WF\n*FIN_COMPOSANT\n"
        "*CORDON             S\n*CORDON_TYPE        BW\n*COMPOSANT_1        A\n"
        "*COMPOSANT_2        B\n*CIRCONFERENTIEL\n";
    const std::string history = "*FIN_CORDON\n*HISTORIQUE         H\n*HISTORIQUE_CORDON  S\n" +
                                records + "*FIN_HISTORIQUE\n" + kRequest;
    ASSERT_EQ(CodeOf(RunDeck(with, plates +
                                       "*IMPERFECTION       None\n*DIAMETRE 1000 1000 1000\n"
                                       "*PARAMETRE 0 0 0 0\n*FIN_IMPERFECTION\n" +
                                       history)),
              0);
    ASSERT_EQ(CodeOf(RunDeck(without, plates + history)), 0);
    const std::string a = ReadFile(with.Path() + "/r.txt");
    const std::string b = ReadFile(without.Path() + "/r.txt");
    EXPECT_NE(a.find("Coefficient A d'intensification selon C11.A6 : 1(direction perpendiculaire"),
              std::string::npos);
    const std::string total = "Taux d'endommagement total pour l'historique de contraintes : ";
    ASSERT_NE(Between(b, total, 80), "");
    EXPECT_EQ(Between(a, total, 80), Between(b, total, 80));
    EXPECT_EQ(Between(a, "Angle Theta du plan critique", 400),
              Between(b, "Angle Theta du plan critique", 400));
}

TEST(CZuvanFatigueClauseCordon, NoShearOnAnyPlaneGivesTheZeroDamageEnding) {
    TempDir dir;
    const std::string s = "100 0 0 100 0 100";  // hydrostatic
    const std::string records = Record("R", "0", "20", s, s, s, kZero) +
                                Record("R", "0", "20", s, s, s, kZero) +
                                Record("R", "0", "20", s, s, s, kZero);
    ASSERT_EQ(CodeOf(RunDeck(
                  dir, Seam("20", "WF", "20", "WF", "*HISTORIQUE_CORDON", records) + kRequest)),
              0);
    const std::string report = ReadFile(dir.Path() + "/r.txt");
    const std::string ending =
        "|    Theta   |    Phi     |    N0      |  Dommage   |\n"
        "|   0.000000 |   0.000000 |          0 |  0.000e+00 |\n"
        "\n"
        "Le taux d'endommagement sur le plan critique est nul !\n"
        "Taux d'endommagement total pour l'historique étudié : 0\n"
        "*****************************************************\n";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 4);
}

// Ce and CtR through the final table of one cycle of 200 MPa (no plasticity
// correction): N = 2.91e11 * (Ce * CtR / 200)^3.
TEST(CZuvanFatigueClauseCordon, ThicknessAndTemperatureFactorsOfThePair) {
    struct Case {
        const char *what, *a, *ma, *b, *mb, *t, *ce, *ctr;
    };
    const Case cases[] = {
        {"25 mm: no thickness effect", "25", "WF", "10", "WF", "20", "1.000", "1.000"},
        {"20 and 40 mm, either order", "40", "WF", "20", "WF", "20", "0.889", "1.000"},
        {"200 mm: the base 25/150", "200", "WF", "20", "WF", "20", "0.639", "1.000"},
        {"austenitic pair at 200 °C", "20", "WA", "20", "WA", "200", "1.000", "0.957"},
        {"mixed pair at 200 °C: type-20 formula", "20", "WA", "20", "WF", "200", "1.000", "0.940"},
        {"100 °C: no temperature effect", "20", "WA", "20", "WF", "100", "1.000", "1.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ASSERT_EQ(CodeOf(RunDeck(
                      dir, Seam(c.a, c.ma, c.b, c.mb, "*HISTORIQUE_CORDON", Uniaxial("200", c.t)) +
                               kRequest)),
                  0);
        const std::string report = ReadFile(dir.Path() + "/r.txt");
        EXPECT_EQ(Between(report, "Coefficient de correction d'épaisseur Ce    : ", 53),
                  std::string("Coefficient de correction d'épaisseur Ce    : ") + c.ce + "\n");
        // The last row of the cycle: the final table's.
        const std::size_t at = report.rfind("|      1 |      0 |      1 |");
        ASSERT_NE(at, std::string::npos);
        const std::string row = report.substr(at, 100);
        EXPECT_NE(row.find(std::string(" |   ") + c.ctr + " | "), std::string::npos) << row;
    }
}

TEST(CZuvanFatigueClauseCordon, BadAnalysesFromDecksEndWithTheirCode) {
    struct Case {
        const char* what;
        std::string deck;
        int code;
    };
    const Case cases[] = {
        // At 20 °C the smaller Rpt is 220: 500 > 2*Rpt.
        {"range beyond 2*Rpt without linearised variation",
         Seam("20", "WF", "20", "WA", "*HISTORIQUE_CORDON", Uniaxial("500", "20", kZero)), 440},
        {"Ke for a smaller Rm above 1000",
         Seam("20", "WHF", "20", "WHA", "*HISTORIQUE_CORDON", Uniaxial("1000", "20")), 420},
        {"austenitic pair of high Rm: Ke without limit",
         Seam("20", "WHA", "20", "WHA", "*HISTORIQUE_CORDON", Uniaxial("1000", "20")), 0},
    };
    const std::string strong =
        "*MATERIAU           WHF\n*TYPE               F\n*PARAMETRE 300 1100 201660 0.3\n"
        "*FIN_MATERIAU\n*MATERIAU           WHA\n*TYPE               A\n"
        "*PARAMETRE 300 1050 195000 0.3\n*FIN_MATERIAU\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const RunResult r = RunDeck(dir, strong + c.deck + kRequest);
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
    }
}

// Failures that the deck readers always catch before an analysis runs, on
// requests whose study lacks an object: both weld analyses, before they write
// anything.
TEST(CZuvanFatigueClauseCordon, FailuresCaughtEarlierByTheReadersKeepTheirCodes) {
    for (const char* kind : {"*HISTORIQUE_CORDON", "*HISTORIQUE_GORGE"}) {
        SCOPED_TRACE(kind);
        TempDir base;
        const std::unique_ptr<CZuvanFatigue> full =
            ReadStudy(base, Seam("20", "WF", "40", "WA", kind, Uniaxial("100", "20")));
        const CZuvanFatigueContexte& context = full->Context();
        const CZuvanFatigueHistorique history = full->GetHistory("H");

        // Contexts without the classification, without the class, without the
        // materials, and with a material of an unknown type.
        CZuvanFatigueContexte noDetail, noClass, noMaterial, oddMaterial;
        noClass.AddWeldDetail(context.GetWeldDetail("BW"));
        noMaterial = noClass;
        noMaterial.AddFatigueClass(context.GetClass("K71"));
        oddMaterial = noMaterial;
        oddMaterial.AddMaterial(context.GetMaterial("WF"));
        CZuvanFatigueMateriau odd = context.GetMaterial("WA");
        odd.SetDefinition("WA", 40, " ", odd.GetRp20(), odd.GetRptTable(), odd.GetRm(), odd.GetE(),
                          odd.GetNu());
        oddMaterial.AddMaterial(odd);

        // A history of two records on the seam.
        CZuvanFatigueHistorique::Records two;
        for (int k = 0; k < 2; ++k) {
            two.emplace(k, CZuvanFatigueHistorique::Record(
                               CZuvanFatigueHistorique::kKindReleve,
                               std::make_unique<CZuvanFatigueReleve>(history.GetRecord(k))));
        }
        CZuvanFatigueHistorique shortHistory;
        shortHistory.SetDefinition(two, full->UWZones(), full->Welds(), "H", "S",
                                   history.GetType());

        struct Case {
            const char* what;
            std::unique_ptr<CZuvanFatigue> study;
            int code;
        };
        std::vector<Case> cases;
        const auto withContext = [&](const char* what, const CZuvanFatigueContexte& c, int code) {
            std::unique_ptr<CZuvanFatigue> s(new CZuvanFatigue(*full));
            s->Context() = c;
            cases.push_back({what, std::move(s), code});
        };
        const auto bare = [&](const char* what, int code) {
            std::unique_ptr<CZuvanFatigue> s(new CZuvanFatigue());
            EXPECT_EQ(s->SetContext(context), 0);
            cases.push_back({what, std::move(s), code});
            return cases.back().study.get();
        };
        CZuvanFatigue* few = bare("two records", 220);
        few->AddComponent(full->GetComponent("A"));
        few->AddComponent(full->GetComponent("B"));
        few->AddWeld(full->GetWeld("S"));
        few->AddHistory(shortHistory);
        bare("no seam", 360)->AddHistory(history);
        CZuvanFatigue* noComponent = bare("no component", 380);
        noComponent->AddWeld(full->GetWeld("S"));
        noComponent->AddHistory(history);
        withContext("no classification", noDetail, 120);
        withContext("no class", noClass, 90);
        withContext("no material", noMaterial, 410);
        withContext("material of type 40", oddMaterial, 430);

        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            TempDir dir;
            EXPECT_EQ(RunRequest(*c.study, dir.Path()), -c.code);
            // The report was opened first, and nothing was written.
            EXPECT_EQ(ReadFile(dir.Path() + "/r.txt"), "");
        }
        // The whole study runs.
        TempDir dir;
        EXPECT_GT(RunRequest(*full, dir.Path()), 0.0);
    }
}
