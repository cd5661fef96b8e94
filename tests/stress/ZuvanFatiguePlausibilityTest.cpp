// Plausibility warnings of a history: a seam's transient in MPa gives none;
// each unit mistake an export can make gives its warning (or, far enough out,
// the record's own range check refuses it with 190).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "model/CZuvanFatigueCordon.h"
#include "model/CZuvanFatigueUWZone.h"
#include "stress/ZuvanFatiguePlausibility.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;
using ZuvanFatiguePlausibility::Kind;
using H = CZuvanFatigueHistorique;
using Tensor = CZuvanFatigueReleve::Tensor;

namespace {

// One record as given: pressure, temperature and the four tensors.
struct Given {
    double p, t;
    Tensor sij, sijm, sijlm, sijlt;
};

// Ambient; pressurised (membrane 150 MPa at 3 MPa); heated (thermal
// linearised stress): totals = linearised + a peak of 10 and 5 MPa.
std::vector<Given> Transient() {
    const Tensor zero{}, m{150, 0, 0, 75, 0, 0}, lm{160, 0, 0, 80, 0, 0}, lt{-60, 0, 0, -20, 0, 0};
    return {{0, 20, zero, zero, zero, zero},
            {3, 20, {170, 0, 0, 85, 0, 0}, m, lm, zero},
            {3, 200, {110, 0, 0, 65, 0, 0}, m, lm, lt},
            {0, 40, zero, zero, zero, zero}};
}

H Build(const std::vector<Given>& given) {
    H::Records records;
    for (std::size_t i = 0; i < given.size(); ++i) {
        auto r = std::make_unique<CZuvanFatigueReleve>();
        const Given& g = given[i];
        r->SetDefinition("R" + std::to_string(i), static_cast<int>(i), g.p, g.t, g.sij, g.sijm,
                         g.sijlm, g.sijlt);
        records.emplace(static_cast<int>(i), H::Record(H::kKindReleve, std::move(r)));
    }
    H history;
    const H::UWZones zones{{"Z", CZuvanFatigueUWZone()}};
    history.SetDefinition(records, zones, H::Welds(), "H", "Z", H::kTypeUWZone);
    return history;
}

void Scale(Tensor& t, double f) {
    for (double& v : t) v *= f;
}

}  // namespace

TEST(ZuvanFatiguePlausibility, EachUnitMistakeGivesItsWarning) {
    struct Case {
        const char* what;
        std::function<void(Given&)> change;
        std::vector<Kind> expected;
        int record;  // of the first warning
    };
    const Case cases[] = {
        {"in MPa and degrees C", [](Given&) {}, {}, -1},
        {"stresses in GPa",
         [](Given& g) {
             for (Tensor* t : {&g.sij, &g.sijm, &g.sijlm, &g.sijlt}) Scale(*t, 1e-3);
         },
         // the pressure, in MPa, now far above the membrane stress too
         {Kind::kAllStressesSmall, Kind::kPressureAboveMembrane},
         -1},
        {"totals in ksi",
         [](Given& g) { Scale(g.sij, 1 / 6.894757); },
         {Kind::kTotalBelowLinearised},
         1},
        {"totals without their thermal part",
         [](Given& g) {
             for (int k = 0; k < 6; ++k) g.sij[k] -= g.sijlt[k];
         },
         {Kind::kTotalBelowLinearised},
         2},
        {"pressure in bar", [](Given& g) { g.p *= 10; }, {Kind::kPressureAboveMembrane}, 1},
        {"pressure of 150 MPa",
         [](Given& g) { g.p *= 50; },
         {Kind::kLargePressure, Kind::kPressureAboveMembrane},
         1},
        {"totals of about 6000 MPa", [](Given& g) { Scale(g.sij, 35); }, {Kind::kLargeStress}, 1},
        {"temperatures in kelvins",
         [](Given& g) { g.t += 273.15; },
         {Kind::kKelvinLikeTemperatures},
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Given> given = Transient();
        for (Given& g : given) c.change(g);
        const auto warnings = ZuvanFatiguePlausibility::Check(Build(given));
        std::vector<Kind> kinds;
        for (const auto& w : warnings) kinds.push_back(w.kind);
        EXPECT_EQ(kinds, c.expected);
        if (!warnings.empty()) {
            EXPECT_EQ(warnings[0].record, c.record);
        }
    }
    // The pair and its ranges: the heated record against the one before it,
    // the total unchanged where the linearised stress varies by 60 and 20.
    std::vector<Given> given = Transient();
    for (Given& g : given) {
        for (int k = 0; k < 6; ++k) g.sij[k] -= g.sijlt[k];
    }
    const auto w = ZuvanFatiguePlausibility::Check(Build(given));
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].other, 1);
    EXPECT_EQ(w[0].value, 0.0);
    EXPECT_NEAR(w[0].limit, std::sqrt(0.5 * (40.0 * 40 + 20 * 20 + 60 * 60)), 1e-12);
    // Pa and kPa leave the record's bounds: refused, not warned.
    for (double f : {1e6, 1e3}) {
        SCOPED_TRACE(f);
        std::vector<Given> scaled = Transient();
        for (Given& g : scaled) Scale(g.sij, f);
        ExpectCode(190, [&] { Build(scaled); });
    }
}
