// The reports rendered from hand-built results, without any computation: the
// renderers write what the result holds (the improving planes and origins as
// given, the critical plane, the cycles) and stop at the stage it reached.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "damage/ZuvanFatiguePlane.h"
#include "report/ZuvanFatigueReport.h"

using namespace ZuvanFatigueResults;
namespace cp = ZuvanFatigueCriticalPlane;

namespace {

constexpr double kDegree = 1.0 / cp::kDegreesPerRadian;

cp::Plane MakePlane(double thetaDeg, double phiDeg, int origin, double damage, double sum) {
    cp::Plane p;
    p.theta = thetaDeg * kDegree;
    p.phi = phiDeg * kDegree;
    p.origin = origin;
    p.damage = damage;
    p.sum = sum;
    return p;
}

// Three planes of which the result names the first and the third as the
// improving ones: the middle one, of larger damage, is no row.
PlaneSearch Search() {
    PlaneSearch s;
    s.searchCr = cp::kSearchCr;
    s.planes = {MakePlane(0, 0, 0, 1e-6, 10.0), MakePlane(0, 2.5, 1, 9e-3, 20.0),
                MakePlane(0, 5, 2, 5e-5, 30.0)};
    s.improving = {0, 2};
    s.critical = s.planes[2];
    return s;
}

template <class Result>
std::string Render(const Result& result) {
    std::ostringstream os;
    ZuvanFatigueReport::Write(os, result);
    return os.str();
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(ZuvanFatigueReport, UnweldedZoneReportRendersTheResultAsItStands) {
    UWZoneResult r;
    r.curve.SetDefinition("C410", 410.0);  // its echo shows the curve's limits
    r.search = Search();
    r.planeRecords = {{0, 1.0, 2.0, 3.0, 4.0, 20.0}, {1, 5.0, 6.0, 7.0, 8.0, 20.0}};
    r.series = {{0, 0.0}, {1, 12.5}, {0, 0.0}};
    UWZoneCycle c;
    c.start = 1;
    c.pivot = 0;
    c.end = 1;
    c.before = c.after = {12.5, 1.0, 0.0, 1.0, 3.0};
    c.N = 123456;
    c.damage = 1.0 / 123456;
    r.cycles = {c};
    r.damagedCycles = 1;
    r.dSigmaMax = 12.5;
    r.total = c.damage;

    r.stage = Stage::kDone;
    const std::string whole = Render(r);
    const std::string rows =
        "|    Theta   |    Phi     |    N0      |  Dommage   |  Sx'x' Som |\n"
        "|   0.000000 |   0.000000 |          0 |  1.000e-06 |     10.000 |\n"
        "|      0.000 |      5.000 |          2 |  5.000e-05 |     30.000 |\n";
    EXPECT_TRUE(Has(whole, rows)) << whole;
    EXPECT_TRUE(Has(whole, "Instant d'origine déterminant sur ce plan : 2\n"));
    EXPECT_TRUE(Has(whole, "|      1 |      0 |      1 |"));
    EXPECT_TRUE(Has(whole, "    123456 |  8.100e-06 |\n"));
    EXPECT_TRUE(
        Has(whole, "Taux d'endommagement total pour l'historique de contraintes : 8.1001e-06\n"));
    EXPECT_EQ(whole.back(), '\f');

    // Cut short after the search: the report ends with its table.
    r.stage = Stage::kSearched;
    const std::string searched = Render(r);
    EXPECT_TRUE(EndsWith(searched, rows)) << searched.substr(searched.size() - 300);
    // In the final damage with no cycle done: the final table's header, no row.
    r.stage = Stage::kFinal;
    r.damagedCycles = 0;
    const std::string final = Render(r);
    EXPECT_TRUE(EndsWith(final, "|    Cr    |      N     |  Dommage   |\n"));
    // Before the objects were looked up: nothing.
    r.stage = Stage::kStarted;
    EXPECT_EQ(Render(r), "");
}

TEST(ZuvanFatigueReport, WeldReportRendersTheResultAsItStands) {
    WeldResult r;
    r.search = Search();
    r.hasImperfection = true;
    IntensifiedRecord ir;
    ir.name = "R0";
    ir.aPerpendicular = 1.25;
    r.intensified = {ir};
    r.ending = Ending::kZeroDamage;
    r.stage = Stage::kDone;
    const std::string zero = Render(r);
    EXPECT_TRUE(Has(zero, "Nom du relevé de contraintes                 : R0\n"));
    EXPECT_TRUE(Has(zero,
                    "|   0.000000 |   0.000000 |          0 |  1.000e-06 |\n"
                    "|      0.000 |      5.000 |          2 |  5.000e-05 |\n\n"
                    "Le taux d'endommagement sur le plan critique est nul !\n"
                    "Taux d'endommagement total pour l'historique étudié : 0\n"));
    // Cut short in the intensification: the records done, nothing after them.
    r.stage = Stage::kDefined;
    const std::string cut = Render(r);
    EXPECT_FALSE(Has(cut, "Recherche du plan critique"));
    EXPECT_TRUE(EndsWith(cut,
                         "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    "
                         "Szzlm   |\n|          0 |          0 |          0 |          0 |     "
                         "     0 |          0 |\n"))
        << cut.substr(cut.size() - 300);
}

TEST(ZuvanFatigueReport, ThroatReportRendersTheResultAsItStands) {
    ThroatResult r;
    r.searchCr = cp::kSearchCr;
    r.planeRecords = {{0, 30.0, 0.0, 0.0, 0.0, 150.0}};
    r.origins = {{0, 2e-4}, {1, 3e-4}, {2, 1e-3}};
    r.improvingOrigins = {1};  // as the result holds it, not as the damages would choose
    r.determining = r.origins[1];
    r.series = {{1, 0.0}, {0, 400.0}, {1, 0.0}};
    r.cycleCount = 1;
    ThroatCycle c;
    c.start = 1;
    c.pivot = 0;
    c.end = 1;
    c.DSigmaR = 400.0;
    c.temperatureC = 150.0;
    c.checked = true;
    c.Rpt = 180.0;
    r.cycles = {c};
    r.ending = Ending::kRefused;
    r.refusedCycle = 0;
    r.stage = Stage::kDone;
    const std::string refused = Render(r);
    EXPECT_TRUE(Has(refused, "|    N0      |  Dommage   |\n|          1 |  3.000e-04 |\n\n"));
    EXPECT_TRUE(
        Has(refused, "|          0 |  30.000000 |   0.000000 |   0.000000 | 150.000000 |\n"));
    EXPECT_TRUE(Has(refused, "Instant d'origine déterminant pour l'endommagement : 1\n"));
    EXPECT_TRUE(Has(refused, "Rpt             :  180.000\n"));
    EXPECT_TRUE(Has(refused, "     --> La conception doit être revue !\n"));
    // Cut short in the plasticity check: its title ends the report.
    r.ending = Ending::kNormal;
    r.stage = Stage::kChecking;
    const std::string checking = Render(r);
    EXPECT_EQ(checking.substr(checking.rfind("+ Correction de plasticité")),
              "+ Correction de plasticité : selon C11.3.11.1.1 aucune correction ne doit être "
              "nécessaire +\n" +
                  std::string(91, '+') + "\n");
}
