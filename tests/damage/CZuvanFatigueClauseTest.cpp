// Damage requests and the unwelded-zone analysis, through whole runs.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "damage/CZuvanFatigueClause.h"
#include "deck/CZuvanFatigue.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatigueReleve.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

const std::string kDecks = std::string(ZUVAN_TEST_DIR) + "/decks/";
const std::string kExpected = std::string(ZUVAN_TEST_DIR) + "/expected/";

const std::string kZero = "0 0 0 0 0 0";

// One plain record at temperature t with the total, linearised mechanical and
// linearised thermal tensors.
std::string Record(const std::string& t, const std::string& sij, const std::string& sijlm,
                   const std::string& sijlt) {
    return "*RELEVE             R\n*PARAMETRE          0 " + t + "\n*SIJ " + sij +
           "\n*SIJM 0 0 0 0 0 0\n*SIJLM " + sijlm + "\n*SIJLT " + sijlt + "\n*FIN_RELEVE\n";
}

// Zero, a uniaxial total and mechanical stress s, zero again, at 20 degrees.
std::string Uniaxial(const std::string& s) {
    const std::string t = s + " 0 0 0 0 0";
    return Record("20", kZero, kZero, kZero) + Record("20", t, t, kZero) +
           Record("20", kZero, kZero, kZero);
}

const std::string kRequest =
    "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     r.txt\n*RAINFLOW\n*FIN_DOMMAGE\n";

// Material MAT (its *TYPE and *PARAMETRE values), component C, zone Z with
// the extra zone cards, history H of the records, then the request block.
std::string Deck(const std::string& type, const std::string& parameters, const std::string& zone,
                 const std::string& records, const std::string& request = kRequest) {
    return "*MATERIAU           MAT\n*TYPE               " + type + "\n*PARAMETRE " + parameters +
           "\n*RPT                20 265\n*RPT                100 241\n*FIN_MATERIAU\n"
           "*COMPOSANT          C\n*TYPE               GENERAL\n*PARAMETRE          20 12.5 0\n"
           "*COMPOSANT_MATERIAU MAT\n*FIN_COMPOSANT\n"
           "*UWZONE             Z\n*UWZONE_COMPOSANT   C\n" +
           zone + "*FIN_UWZONE\n*HISTORIQUE         H\n*HISTORIQUE_UWZONE  Z\n" + records +
           "*FIN_HISTORIQUE\n" + request;
}

const std::string kMaterial = "265 410 201660 0.3";

// Runs a data deck against an empty context, reports into dir (or outDir).
RunResult RunDeck(const TempDir& dir, const std::string& data, const std::string& outDir = "",
                  const std::vector<std::string>& env = {}) {
    const std::string ctx = dir.Write("c.ctx", "");
    const std::string deck = dir.Write("d.dat", data);
    return RunProgram({"-c", ctx, "-d", deck, "-o", outDir.empty() ? dir.Path() : outDir}, env);
}

}  // namespace

// The expected report was checked against an independent computation of the
// clause: critical plane Theta 137.5 / Phi 165 (the normal-stress tie-break
// among the planes of equal damage), N0 = 0, one cycle (start 1, pivot 0, end
// 1) of DSigmaR 399.959, Sigmo 202.866, Cs 0.911, Cm 0.986, Cr 0.898,
// N = 53678, damage 1.863e-05.
TEST(CZuvanFatigueClause, UnwoundUniaxialCycleGivesTheCheckedReport) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kDecks + "uw.ctx", "-d", kDecks + "uw-uniaxial.dat", "-o", dir.Path()});
    ASSERT_EQ(r.status, 0) << r.console;
    EXPECT_EQ(ReadFile(dir.Path() + "/uw.txt"), ReadFile(kExpected + "uw-uniaxial.txt"));
}

TEST(CZuvanFatigueClause, RequestsAppendToTheirReportAndRunsAddToIt) {
    TempDir dir;
    const std::string data = ReadFile(kDecks + "uw-uniaxial.dat");
    const std::string request = data.substr(data.find("*DOMMAGE"));
    const std::string deck = dir.Write("two.dat", data + "/ again\n" + request);
    const std::vector<std::string> args = {"-c", kDecks + "uw.ctx", "-d", deck, "-o", dir.Path()};
    ASSERT_EQ(RunProgram(args).status, 0);
    const std::string one = ReadFile(kExpected + "uw-uniaxial.txt");
    EXPECT_EQ(ReadFile(dir.Path() + "/uw.txt"), one + one);
    ASSERT_EQ(RunProgram(args).status, 0);
    EXPECT_EQ(ReadFile(dir.Path() + "/uw.txt"), one + one + one + one);
}

TEST(CZuvanFatigueClause, FrenchLocaleWritesCommasWhileDecksKeepPoints) {
    TempDir dir;
    const RunResult r =
        RunProgram({"-c", kDecks + "uw.ctx", "-d", kDecks + "uw-uniaxial.dat", "-o", dir.Path()},
                   {"LC_ALL=fr_FR.UTF-8", "LANG=fr_FR.UTF-8"});
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/uw.txt");
    if (report.find("Coefficient de Poisson           : 0,3\n") == std::string::npos &&
        report.find("Coefficient de Poisson           : 0.3\n") != std::string::npos) {
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed (scripts/setup.sh generates it)";
    }
    EXPECT_NE(report.find("Angle Theta du plan critique              : 137,500\n"),
              std::string::npos);
    EXPECT_NE(report.find("Module d'élasticité (MPa)        : 201 660\n"), std::string::npos);
    EXPECT_NE(report.find("Taux d'endommagement total pour l'historique de contraintes : "
                          "1,8630e-05\n"),
              std::string::npos);
    // The report differs from the classic one only by its number formats.
    std::string classic = ReadFile(kExpected + "uw-uniaxial.txt");
    EXPECT_EQ(report.size(), classic.size() + 1 /* the blank of 201 660 */);
}

TEST(CZuvanFatigueClause, ConstantShearGivesTheZeroDamageEnding) {
    TempDir dir;
    const std::string s = "100 0 0 100 0 100";  // hydrostatic: no shear on any plane
    const std::string records =
        Record("20", s, s, kZero) + Record("20", s, s, kZero) + Record("20", s, s, kZero);
    const RunResult r = RunDeck(dir, Deck("F", kMaterial, "", records));
    ASSERT_EQ(r.status, 0) << r.console;
    const std::string report = ReadFile(dir.Path() + "/r.txt");
    // The first plane is written with the stream's initial precision.
    EXPECT_NE(report.find("|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |\n"
                          "|   0.000000 |   0.000000 |          0 |  0.000e+00 |    300.000 |\n"),
              std::string::npos);
    const std::string ending =
        " |\n"
        "\n"
        "Le taux d'endommagement sur le plan critique est nul !\n"
        "Taux d'endommagement total pour l'historique étudié : 0.\n"
        "*****************************************************\n";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    // Three form feeds, all before the search: none at the end.
    EXPECT_EQ(std::count(report.begin(), report.end(), '\f'), 3);
}

TEST(CZuvanFatigueClause, KtAppliesOnlyToGeometricStressZones) {
    TempDir total, geometric;
    ASSERT_EQ(RunDeck(total, Deck("F", kMaterial, "", Uniaxial("300"))).status, 0);
    ASSERT_EQ(RunDeck(geometric, Deck("F", kMaterial, "*PARAMETRE 1.5\n", Uniaxial("300"))).status,
              0);
    const std::string t = ReadFile(total.Path() + "/r.txt");
    const std::string g = ReadFile(geometric.Path() + "/r.txt");
    EXPECT_NE(t.find("Les contraintes fournies sont des contraintes totales\n"), std::string::npos);
    EXPECT_EQ(t.find("Kt caractéristique"), std::string::npos);
    EXPECT_NE(g.find("Les contraintes fournies sont des contraintes géométriques\n"),
              std::string::npos);
    EXPECT_NE(g.find("Kt caractéristique de la zone étudiée       : 1.500\n"), std::string::npos);
    // The amplified range: about 1.5 x 300 (the tie-broken plane sees a hair less).
    EXPECT_NE(g.find("Plus grand cycle du spectre de calcul (MPa) : 449."), std::string::npos)
        << g.substr(g.find("Plus grand"), 60);
    EXPECT_NE(t.find("Plus grand cycle du spectre de calcul (MPa) : 299.9"), std::string::npos);
}

TEST(CZuvanFatigueClause, BadRequestsAndAnalysesEndWithTheirCode) {
    const std::string ok = Uniaxial("400");
    const std::string request = "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     r.txt\n";
    struct Case {
        const char* what;
        std::string deck;
        int code;
    };
    const std::string hot = "400 0 0 0 0 0";
    const Case cases[] = {
        {"no history card", Deck("F", kMaterial, "", ok, "*DOMMAGE\n*RAINFLOW\n*FIN_DOMMAGE\n"),
         310},
        {"unknown history",
         Deck("F", kMaterial, "", ok, "*DOMMAGE\n*POINT_HISTORIQUE   HX\n*FIN_DOMMAGE\n"), 300},
        {"request above its history",
         "*DOMMAGE\n*POINT_HISTORIQUE   H\n*RAINFLOW\n*FIN_DOMMAGE\n" +
             Deck("F", kMaterial, "", ok),
         300},
        {"no counting method", Deck("F", kMaterial, "", ok, request + "*FIN_DOMMAGE\n"), 330},
        {"two counting methods",
         Deck("F", kMaterial, "", ok, request + "*RESERVOIR\n*RAINFLOW\n*FIN_DOMMAGE\n"), 30},
        {"history card twice", Deck("F", kMaterial, "", ok, request + "*POINT_HISTORIQUE   H\n"),
         30},
        {"unknown card", Deck("F", kMaterial, "", ok, request + "*RAINFLO\n"), 40},
        {"short text card", Deck("F", kMaterial, "", ok, "*DOMMAGE\n*FICHIER_SORTIE r\n"), 10},
        {"end of file", Deck("F", kMaterial, "", ok, request + "*RAINFLOW\n*FIN_DOMMAGE"), 50},
        {"no report file name",
         Deck("F", kMaterial, "", ok, "*DOMMAGE\n*POINT_HISTORIQUE   H\n*RAINFLOW\n*FIN_DOMMAGE\n"),
         290},
        {"report name of blanks",
         Deck("F", kMaterial, "", ok,
              "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE        \n*RAINFLOW\n"
              "*FIN_DOMMAGE\n"),
         290},
        {"Ke for Rm above 1000", Deck("F", "200 1100 201660 0.3", "", Uniaxial("500")), 420},
        {"cycle temperature outside the table",
         Deck("F", kMaterial, "",
              Record("20", kZero, kZero, kZero) + Record("300", hot, hot, kZero) +
                  Record("20", kZero, kZero, kZero)),
         480},
        {"range without linearised variation (Kt infinite)",
         Deck("F", kMaterial, "",
              Record("20", kZero, kZero, kZero) + Record("20", hot, kZero, kZero) +
                  Record("20", kZero, kZero, kZero)),
         440},
        {"mean stress beyond Rpt below the knee",
         Deck("F", "600 800 201660 0.3", "",
              Record("20", kZero, kZero, kZero) +
                  Record("20", "1000 0 0 1000 0 450", "1000 0 0 1000 0 450", kZero) +
                  Record("20", kZero, kZero, kZero)),
         210},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const RunResult r = RunDeck(dir, c.deck);
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
    }
}

// A request that fails in its analysis keeps its report as far as the
// analysis got: byte for byte what a report written while the analysis ran
// held when the failure struck (the reference reports were written so), and
// no JSON line. One deck per code at the step where it strikes.
TEST(CZuvanFatigueClause, FailedAnalysisLeavesItsReportAsFarAsItGot) {
    struct Case {
        const char* deck;  // the deck and its reference report
        const char* context;
        const char* report;  // the request's report name
        int code;
    };
    const Case cases[] = {
        // Unwelded zone: in the plasticity correction, after the search table.
        {"partial-uw-ke-420", "uw.ctx", "uw-420.txt", 420},
        {"partial-uw-temperature-480", "uw.ctx", "uw-480.txt", 480},
        // Unwelded zone: in the final damage, under the final table's header,
        // after the rows of the cycles done.
        {"partial-uw-kt-440", "uw.ctx", "uw-440.txt", 440},
        {"partial-uw-mean-210", "uw.ctx", "uw-210.txt", 210},
        // Welded zone: in the intensification, after the records done.
        {"partial-seam-imperfection-160", "weld.ctx", "seam-160.txt", 160},
        // Welded zone: in the plasticity correction, after the search table.
        {"partial-seam-plasticity-440", "weld.ctx", "seam-440.txt", 440},
        {"partial-seam-ke-420", "weld.ctx", "seam-420.txt", 420},
        {"partial-seam-temperature-480", "weld.ctx", "seam-480.txt", 480},
        // Throat: in the plasticity check, under its title.
        {"partial-throat-temperature-480", "weld.ctx", "throat-480.txt", 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deck);
        TempDir dir;
        const RunResult r = RunProgram({"--json", "-c", kDecks + c.context, "-d",
                                        kDecks + std::string(c.deck) + ".dat", "-o", dir.Path()});
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
        const std::string report = dir.Path() + "/" + c.report;
        // Compared as booleans: a mismatch would print the whole report.
        EXPECT_TRUE(ReadFile(report) == ReadFile(kExpected + c.deck + ".txt"));
        struct stat st;
        EXPECT_NE(::stat((report + ".jsonl").c_str(), &st), 0);
    }
}

TEST(CZuvanFatigueClause, ReportProblemsEndWith450Or290AndKeepEarlierReports) {
    const std::string deck = Deck("F", kMaterial, "", Uniaxial("400"));
    {
        TempDir dir;
        EXPECT_EQ(CodeOf(RunDeck(dir, deck, dir.Path() + "/missing")), 450);
    }
    {
        // An output "directory" that is a file passes the existence test, then
        // the report cannot be created.
        TempDir dir;
        EXPECT_EQ(CodeOf(RunDeck(dir, deck, dir.Write("plain", "x"))), 290);
    }
    {
        // A full disk: the run must not end normally.
        TempDir dir;
        const std::string full =
            Deck("F", kMaterial, "", Uniaxial("400"),
                 "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     full\n*RAINFLOW\n"
                 "*FIN_DOMMAGE\n");
        EXPECT_EQ(CodeOf(RunDeck(dir, full, "/dev")), 290);
    }
    {
        // The first report stays written when a later request fails.
        TempDir dir;
        const RunResult r =
            RunDeck(dir, deck + "*DOMMAGE\n*POINT_HISTORIQUE   HX\n*RAINFLOW\n*FIN_DOMMAGE\n");
        EXPECT_EQ(CodeOf(r), 300);
        const std::string report = ReadFile(dir.Path() + "/r.txt");
        EXPECT_NE(report.find("Taux d'endommagement total pour l'historique de contraintes"),
                  std::string::npos);
    }
}

// A report name comes from a deck that may come from anywhere: it never
// reaches a file outside the output directory; sub-folders inside it work.
TEST(CZuvanFatigueClause, ReportNamesStayInsideTheOutputDirectory) {
    TempDir dir;
    const std::string out = dir.Path() + "/out";
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((out + "/sub").c_str(), 0755), 0);
    struct Case {
        std::string name;
        int code;
        std::string written;  // the report's path when the run ends normally
    };
    const Case cases[] = {
        {"../escape.txt", 290, ""},
        {"sub/../../escape.txt", 290, ""},
        {"sub/../r.txt", 290, ""},
        {"..", 290, ""},
        {dir.Path() + "/escape.txt", 290, ""},
        {"/", 290, ""},
        {"missing/r.txt", 290, ""},  // a sub-folder must exist, as always
        {"sub/r.txt", 0, out + "/sub/r.txt"},
        {"./dot.txt", 0, out + "/dot.txt"},
        {"..r.txt", 0, out + "/..r.txt"},
        {"sub/.. r.txt", 0, out + "/sub/.. r.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string deck = Deck("F", kMaterial, "", Uniaxial("400"),
                                      "*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     " +
                                          c.name + "\n*RAINFLOW\n*FIN_DOMMAGE\n");
        const RunResult r = RunDeck(dir, deck, out);
        EXPECT_EQ(CodeOf(r), c.code);
        EXPECT_EQ(r.status, c.code % 256);
        if (!c.written.empty()) {
            EXPECT_NE(ReadFile(c.written).find("Taux d'endommagement total"), std::string::npos);
        }
        struct stat st;
        EXPECT_NE(::stat((dir.Path() + "/escape.txt").c_str(), &st), 0);
    }
}

namespace {

// Runs a request on history H1 of the study into r.txt; the damage, or -code.
double RunRequest(const CZuvanFatigue& study, const std::string& outputDirectory) {
    try {
        CZuvanFatigueClause request;
        request.SetDefinition(study, outputDirectory, "r.txt", "H1", CZuvanFatigueClause::kTresca,
                              CZuvanFatigueClause::kRainFlow);
        request.SetReportSwitch(CZuvanFatigueClause::kWriteReport);
        return request.Damage();
    } catch (const CExceptionZuvanFatigue& e) {
        return -e.GetCode();
    }
}

}  // namespace

// Faults the deck readers always catch first, on the analysis itself: each
// ends the request after the report was opened and before anything is written.
TEST(CZuvanFatigueClause, AnalysisRefusesWhatTheReadersCatchFirst) {
    TempDir dir;
    ConsoleCapture quiet;
    CZuvanFatigueContexte fileContext;
    ASSERT_EQ(fileContext.Read((kDecks + "uw.ctx").c_str()), 0);
    const std::string data = ReadFile(kDecks + "uw-uniaxial.dat");
    const std::string deck = dir.Write("study.dat", data.substr(0, data.find("*DOMMAGE")));
    CZuvanFatigue full;
    ASSERT_EQ(full.SetContext(fileContext), 0);
    ASSERT_EQ(full.SetInputFile(deck.c_str()), 0);
    ASSERT_EQ(full.SetOutputDirectory(dir.Path().c_str()), 0);
    ASSERT_EQ(full.Read(), 0);
    const CZuvanFatigueHistorique& history = full.Histories().at("H1");

    CZuvanFatigueHistorique::Records two;
    for (int k = 0; k < 2; ++k) {
        two.emplace(k, CZuvanFatigueHistorique::Record(
                           CZuvanFatigueHistorique::kKindReleve,
                           std::make_unique<CZuvanFatigueReleve>(history.GetRecord(k))));
    }
    CZuvanFatigueHistorique shortHistory;
    shortHistory.SetDefinition(two, full.UWZones(), full.Welds(), "H1", "Z1", history.GetType());

    const auto bare = [&](const CZuvanFatigueContexte& context) {
        std::unique_ptr<CZuvanFatigue> s(new CZuvanFatigue());
        EXPECT_EQ(s->SetContext(context), 0);
        return s;
    };
    std::unique_ptr<CZuvanFatigue> few = bare(full.Context());
    few->AddComponent(full.GetComponent("C20"));
    few->AddUWZone(full.GetUWZone("Z1"));
    few->AddHistory(shortHistory);
    std::unique_ptr<CZuvanFatigue> noZone = bare(full.Context());
    noZone->AddHistory(history);
    std::unique_ptr<CZuvanFatigue> noComponent = bare(full.Context());
    noComponent->AddUWZone(full.GetUWZone("Z1"));
    noComponent->AddHistory(history);
    // The curve 410 was added by the zone to the study's own context only.
    std::unique_ptr<CZuvanFatigue> noCurve(new CZuvanFatigue(full));
    noCurve->Context() = fileContext;
    std::unique_ptr<CZuvanFatigue> noMaterial(new CZuvanFatigue(full));
    CZuvanFatigueContexte curveOnly;
    curveOnly.AddUWCurve(full.Context().GetUWCurve("410"));
    noMaterial->Context() = curveOnly;
    std::unique_ptr<CZuvanFatigue> oddMaterial(new CZuvanFatigue(full));
    CZuvanFatigueMateriau odd = fileContext.GetMaterial("M410");
    odd.SetDefinition("M410", 40, " ", odd.GetRp20(), odd.GetRptTable(), odd.GetRm(), odd.GetE(),
                      odd.GetNu());
    CZuvanFatigueContexte oddContext = curveOnly;
    oddContext.AddMaterial(odd);
    oddMaterial->Context() = oddContext;

    struct Case {
        const char* what;
        const CZuvanFatigue& study;
        int code;
    };
    const Case cases[] = {
        {"two records", *few, 220},          {"no zone", *noZone, 370},
        {"no component", *noComponent, 380}, {"no curve", *noCurve, 100},
        {"no material", *noMaterial, 410},   {"material of type 40", *oddMaterial, 430},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir out;
        EXPECT_EQ(RunRequest(c.study, out.Path()), -c.code);
        EXPECT_EQ(ReadFile(out.Path() + "/r.txt"), "");
    }
    TempDir out;
    EXPECT_NEAR(RunRequest(full, out.Path()), 1.8629606170125563e-05, 1e-15);
}
