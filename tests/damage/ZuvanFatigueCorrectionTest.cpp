// Correction rules of one counted cycle: plasticity correction, Kt -> Kf, CtR and the
// iterated factors Cs, Ce and Cm, checked against values worked by hand or by a plain
// computation of the clause's formulae.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "damage/ZuvanFatigueCorrection.h"
#include "driver/CExceptionZuvanFatigue.h"

namespace ZC = ZuvanFatigueCorrection;

namespace {

constexpr double kRel = 1e-12;
constexpr int kKnee = 2000000;

void ExpectRel(double actual, double expected) {
    EXPECT_NEAR(actual, expected, kRel * std::fabs(expected)) << "expected " << expected;
}

template <class F>
void ExpectCode(int code, F&& body) {
    try {
        body();
        ADD_FAILURE() << "no refusal, code " << code << " expected";
    } catch (const CExceptionZuvanFatigue& e) {
        EXPECT_EQ(e.GetCode(), code);
    }
}

// The unwelded-zone curve of Rm = 500 MPa: DSigma = 46000/sqrt(N) + 0.63*Rm - 11.5 down
// to the endurance limit at 2000000 cycles, the slope 10 down to the truncation limit.
int Curve500(double dSigma, double dSigmaMax, double f) {
    const double rm = 500.0;
    const double dSigmaD = 0.63 * rm + 46000.0 / std::pow(2000000.0, 0.5) - 11.5;
    const double dSigmaC = dSigmaD * std::pow(0.02, 0.1);
    const double x = dSigma / f;
    double n;
    if (x >= dSigmaD) {
        const double q = 46000.0 / (x - 0.63 * rm + 11.5);
        n = q * q;
    } else if (!(x > dSigmaC)) {
        n = 1000000000.0;
    } else if (dSigmaMax / f < dSigmaD) {
        n = 1000000000.0;
    } else {
        const double r = (0.63 * rm + 21.0269) / x;
        double p = r;
        for (int i = 0; i < 9; ++i) p = p * r;
        n = 2000000.0 * p;
    }
    return static_cast<int>(n);
}

// A curve that always answers the same number of cycles, recording the factors asked.
struct FixedCurve {
    int cycles;
    std::vector<double> factors;
    ZC::PermissibleCyclesFn Fn() {
        return [this](double, double, double f) {
            factors.push_back(f);
            return cycles;
        };
    }
};

// F^(0.1*ln N - 0.465), the law of Cs and Ce below the knee.
double BelowKnee(double F, int n) { return std::pow(F, 0.1 * std::log(double(n)) - 0.465); }

}  // namespace

TEST(ZuvanFatigueCorrection, KeFollowsTheTensileStrength) {
    struct Case {
        int type;
        double rmMPa, dSigmaRlmMPa, expected;
    };
    const Case cases[] = {
        {20, 500.0, 600.0, 1.2},    // a = 0.4 up to Rm 500
        {20, 650.0, 600.0, 1.225},  // a = 0.4 + 150/3000
        {20, 800.0, 600.0, 1.25},   // a = 0.5 at Rm 800
        {20, 1000.0, 600.0, 1.25},  // a = 0.5 up to Rm 1000
        {30, 1100.0, 600.0, 1.2},   // austenitic: a = 0.4 whatever Rm
        {30, 2000.0, 1000.0, 1.6},  //
        {20, 400.0, 300.0, 1.0},    // 0.9 raised to 1
        {20, 500.0, 400.0, 1.0},    // DSigmaRlm = 2*Rpt
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", Rm " << c.rmMPa);
        ExpectRel(ZC::Ke(c.type, c.rmMPa, 200.0, c.dSigmaRlmMPa), c.expected);
    }
    ExpectCode(420, [] { ZC::Ke(20, std::nextafter(1000.0, 2000.0), 200.0, 600.0); });
    ExpectCode(420, [] { ZC::Ke(20, 1000.5, 200.0, 300.0); });  // even where Ke would be 1
}

TEST(ZuvanFatigueCorrection, KvFollowsPoissonsRatio) {
    struct Case {
        double nu, dSigmaRltMPa, expected;
    };
    const Case cases[] = {
        {0.3, 800.0, 0.7 / 0.6},    // 0.7/(0.4*200/800 + 0.5)
        {0.3, 400.0, 1.0},          // exactly 1
        {0.3, 200.0, 1.0},          // 0.7/0.9 raised to 1
        {0.25, 800.0, 1.2},         // 0.75/(0.5*200/800 + 0.5)
        {0.4, 2000.0, 0.6 / 0.52},  // 0.6/(0.2*200/2000 + 0.5)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "nu " << c.nu << ", DSigmaRlt " << c.dSigmaRltMPa);
        ExpectRel(ZC::Kv(c.nu, 200.0, c.dSigmaRltMPa), c.expected);
    }
}

TEST(ZuvanFatigueCorrection, PlasticityCorrectionAmplifiesTheCycle) {
    struct Case {
        const char* what;
        ZC::CycleStresses in, out;
        double ke, kv;
    };
    // Rpt = 200 MPa, type 20, Rm = 500 (a = 0.4), nu = 0.3.
    const double kvCombined = 0.7 / (0.4 * 200.0 / 500.0 + 0.5);
    const double rlCombined = 300.0 + kvCombined * 400.0;
    const Case cases[] = {
        {"DSigmaRl exactly 2*Rpt", {700, 400, 0, 400, 100}, {700, 400, 0, 400, 100}, 1, 1},
        {"mechanical only (DSigmaRlt at the threshold 0.01)",
         {700, 600, 0.01, 600, 100},
         {840, 720, 0.01, 720, 120},
         1.2,
         1},
        {"thermal only (DSigmaRlm at the threshold 0.01)",
         {900, 0.01, 800, 800, 60},
         {900 * 0.7 / 0.6, 0.01, 800 * 0.7 / 0.6, 800 * 0.7 / 0.6, 60 * 0.7 / 0.6},
         1,
         0.7 / 0.6},
        {"both, Ke = 0.9 raised to 1",
         {800, 300, 500, 700, -70},
         {800 * (rlCombined / 700), 300, 500 * kvCombined, rlCombined, -70 * (rlCombined / 700)},
         1,
         kvCombined},
        {"both, Kv = 0.7/0.9 raised to 1",
         {1000, 800, 200, 900, 90},
         {1000 * (1220.0 / 900), 1120, 200, 1220, 90 * (1220.0 / 900)},
         1.4,
         1},
        {"both, DSigmaRlm above DSigmaRl: A = DSigmaRl, B = 0",
         {1000, 1000, 1000, 800, 0},
         {1000 * (1280.0 / 800), 1600, 1000 * (0.7 / 0.58), 1280, 0},
         1.6,
         0.7 / 0.58},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZC::CycleStresses cycle = c.in;
        double ke = -1.0, kv = -1.0;
        ZC::PlasticityCorrection(20, 500.0, 0.3, 200.0, cycle, ke, kv);
        ExpectRel(cycle.DSigmaR, c.out.DSigmaR);
        ExpectRel(cycle.DSigmaRlm, c.out.DSigmaRlm);
        ExpectRel(cycle.DSigmaRlt, c.out.DSigmaRlt);
        ExpectRel(cycle.DSigmaRl, c.out.DSigmaRl);
        ExpectRel(cycle.Sigmo, c.out.Sigmo);
        ExpectRel(ke, c.ke);
        ExpectRel(kv, c.kv);
    }
}

TEST(ZuvanFatigueCorrection, PlasticityCorrectionRefusals) {
    double ke = 0.0, kv = 0.0;
    // Both linearised variations absent while DSigmaRl exceeds 2*Rpt.
    ZC::CycleStresses absent = {500, 0.01, 0.0, 401, 0};
    ExpectCode(440, [&] { ZC::PlasticityCorrection(20, 500.0, 0.3, 200.0, absent, ke, kv); });
    EXPECT_EQ(absent.DSigmaRl, 401.0);  // left as it was

    // Rm above 1000 for type 20 fails only where Ke is needed.
    ZC::CycleStresses mechanical = {700, 600, 0, 600, 0};
    ExpectCode(420, [&] { ZC::PlasticityCorrection(20, 1000.5, 0.3, 200.0, mechanical, ke, kv); });
    ZC::CycleStresses thermal = {700, 0, 600, 600, 0};
    ZC::PlasticityCorrection(20, 1000.5, 0.3, 200.0, thermal, ke, kv);
    EXPECT_EQ(ke, 1.0);
    ZC::CycleStresses elastic = {700, 300, 0, 300, 0};
    ZC::PlasticityCorrection(20, 1500.0, 0.3, 200.0, elastic, ke, kv);
    EXPECT_EQ(ke, 1.0);
    ZC::CycleStresses austenitic = {700, 600, 0, 600, 0};
    ZC::PlasticityCorrection(30, 2000.0, 0.3, 200.0, austenitic, ke, kv);
    ExpectRel(ke, 1.2);

    // An amplified range beyond the doubles, and a range that is not a number.
    ZC::CycleStresses huge = {1.6e308, 600, 0, 600, 0};  // times Ke = 1.2
    ExpectCode(440, [&] { ZC::PlasticityCorrection(20, 500.0, 0.3, 200.0, huge, ke, kv); });
    ZC::CycleStresses nan = {std::nan(""), 100, 0, 100, 0};
    ExpectCode(440, [&] { ZC::PlasticityCorrection(20, 500.0, 0.3, 200.0, nan, ke, kv); });
}

TEST(ZuvanFatigueCorrection, WeldPlasticityCorrectionWorksOnDSigmaR) {
    struct Case {
        const char* what;
        ZC::WeldCycleStresses in, out;
        double ke, kv;
    };
    // Rpt = 200 MPa, type 20, Rm = 500 (a = 0.4), nu = 0.3.
    const Case cases[] = {
        {"DSigmaR exactly 2*Rpt", {400, 900, 900}, {400, 900, 900}, 1, 1},
        {"mechanical only", {600, 600, 0}, {720, 720, 0}, 1.2, 1},
        {"thermal only", {800, 0, 800}, {800 * 0.7 / 0.6, 0, 800 * 0.7 / 0.6}, 1, 0.7 / 0.6},
        {"both", {900, 800, 200}, {1220, 1120, 200}, 1.4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZC::WeldCycleStresses cycle = c.in;
        double ke = -1.0, kv = -1.0;
        ZC::WeldPlasticityCorrection(20, 500.0, 0.3, 200.0, cycle, ke, kv);
        ExpectRel(cycle.DSigmaR, c.out.DSigmaR);
        ExpectRel(cycle.DSigmaRlm, c.out.DSigmaRlm);
        ExpectRel(cycle.DSigmaRlt, c.out.DSigmaRlt);
        ExpectRel(ke, c.ke);
        ExpectRel(kv, c.kv);
    }
    ZC::WeldCycleStresses absent = {401, 0.01, 0.01};
    double ke = 0.0, kv = 0.0;
    ExpectCode(440, [&] { ZC::WeldPlasticityCorrection(20, 500.0, 0.3, 200.0, absent, ke, kv); });
}

TEST(ZuvanFatigueCorrection, KtKfAndTheEffectiveRange) {
    const double dSigmaD = 0.63 * 500.0 + 21.026911934581186;
    struct Case {
        const char* what;
        bool applied;
        double zoneKt, dSigmaR, dSigmaRl, dSigmaD, kt, kf, dSigmaF;
    };
    const double xTotal = 2.0 * 200.0 / dSigmaD;
    const double kfTotal = 1.0 + 1.5 * (2.0 - 1.0) / (1.0 + 0.5 * xTotal);
    const double xGeometric = 200.0 * 2.5 / dSigmaD;
    const double kfGeometric = 1.0 + 1.5 * (2.5 - 1.0) / (1.0 + 0.5 * xGeometric);
    const Case cases[] = {
        {"total, DSigmaD equal to DSigmaR: Kf = Kt", false, 0, 400, 200, 400, 2, 2, 400},
        {"total, DSigmaR above DSigmaD", false, 0, 400, 200, dSigmaD, 2, kfTotal,
         (kfTotal / 2.0) * 400},
        {"total, DSigmaR below DSigmaRl: Kt = 1", false, 0, 400, 500, dSigmaD, 1, 1, 400},
        {"total, a cycle of no range", false, 0, 0, 0, dSigmaD, 1, 1, 0},
        {"geometric, DSigmaRl*Kt within DSigmaD", true, 2.5, 400, 100, dSigmaD, 2.5, 2.5, 400},
        {"geometric, DSigmaRl*Kt above DSigmaD", true, 2.5, 400, 200, dSigmaD, 2.5, kfGeometric,
         (kfGeometric / 2.5) * 400},
        {"geometric, Kt below 1 raised to 1", true, 0.9999, 400, 300, dSigmaD, 1, 1, 400},
        {"geometric, no linearised variation", true, 2.5, 400, 0, dSigmaD, 2.5, 2.5, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double kt = 0.0, kf = 0.0;
        const double dSigmaF =
            ZC::KtKf(c.applied, c.zoneKt, c.dSigmaR, c.dSigmaRl, c.dSigmaD, kt, kf);
        ExpectRel(kt, c.kt);
        ExpectRel(kf, c.kf);
        ExpectRel(dSigmaF, c.dSigmaF);
    }
    // Total stresses whose linearised variation is zero under a non-zero range: Kt would
    // be infinite and DSigmaF not a number.
    double kt = 0.0, kf = 0.0;
    ExpectCode(440, [&] { ZC::KtKf(false, 1.0, 100.0, 0.0, dSigmaD, kt, kf); });
    ExpectCode(440, [&] { ZC::KtKf(false, 1.0, 100.0, 1e-320, dSigmaD, kt, kf); });
}

TEST(ZuvanFatigueCorrection, CtRAtTheCycleTemperature) {
    struct Case {
        int type;
        double temperatureC, expected;
    };
    const Case cases[] = {
        {20, 100.0, 1.0},
        {30, 100.0, 1.0},
        {20, -50.0, 1.0},
        {20, 100.5, 1.03 - 0.015075 - 0.015150375},  // 1.5e-4*100.5, 1.5e-6*100.5^2
        {30, 100.5, 1.043 - 0.043215},
        {20, 200.0, 0.94},
        {30, 200.0, 0.957},
        {10, 200.0, 0.957},  // any type other than 20
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", t* " << c.temperatureC);
        ExpectRel(ZC::CtR(c.type, c.temperatureC), c.expected);
    }
}

TEST(ZuvanFatigueCorrection, CsBySurfaceRoughness) {
    const double lnRz = std::log(200.0);
    const double F200 =
        1.0 - 0.056 * std::pow(lnRz, 0.64) * std::log(500.0) + 0.289 * std::pow(lnRz, 0.53);
    const double F6 = 1.0 - 0.056 * std::pow(std::log(6.0), 0.64) * std::log(500.0) +
                      0.289 * std::pow(std::log(6.0), 0.53);
    struct Case {
        double rzUm;
        int cycles;  // the curve's constant answer, also N1
        double expected;
        std::size_t calls;
    };
    const Case cases[] = {
        {5.9, 100000, 1.0, 0},  // smooth: no iteration
        {6.0, 100000, BelowKnee(F6, 100000), 2},
        {200.0, 100000, BelowKnee(F200, 100000), 2},
        {200.0, kKnee, F200, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Rz " << c.rzUm << ", N " << c.cycles);
        FixedCurve curve{c.cycles, {}};
        ExpectRel(ZC::Cs(c.rzUm, 500.0, c.cycles, 400.0, 400.0, curve.Fn()), c.expected);
        EXPECT_EQ(curve.factors.size(), c.calls);
    }
    EXPECT_GT(F200, 0.68);  // the worked value 0.68765 of Rz 200, Rm 500
    EXPECT_LT(F200, 0.69);
}

TEST(ZuvanFatigueCorrection, CeByThickness) {
    struct Case {
        double thicknessMm, base;
        int cycles;
        std::size_t calls;
    };
    const Case cases[] = {
        {24.0, 1.0, 100000, 1},  // base 1: one pass, Ce = 1
        {25.0, 1.0, 100000, 1},
        {100.0, 0.25, 100000, 2},
        {150.0, 25.0 / 150.0, 100000, 2},
        {200.0, 25.0 / 150.0, 100000, 2},  // the base stays at 25/150
        {200.0, 25.0 / 150.0, kKnee, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "e " << c.thicknessMm << ", N " << c.cycles);
        const double F = std::pow(c.base, 0.182);
        const double expected = c.cycles >= kKnee ? F : BelowKnee(F, c.cycles);
        FixedCurve curve{c.cycles, {}};
        ExpectRel(ZC::Ce(c.thicknessMm, c.cycles, 400.0, 400.0, curve.Fn()), expected);
        EXPECT_EQ(curve.factors.size(), c.calls);
    }
}

TEST(ZuvanFatigueCorrection, CmBranches) {
    // Rm 500: M = 0.075; Rpt = 200; DSigmaF = 300, so the laws meet at Sm = 300/2.15.
    const double M = 0.075;
    const double law1Factor = M * (2.0 + M) / (1.0 + M);
    const auto law1 = [&](double sm) { return std::sqrt(1.0 - law1Factor * (2.0 * sm / 300.0)); };
    const auto law2 = [&](double sm) {
        return (1.0 + M / 3.0) / (1.0 + M) - (M / 3.0) * (2.0 * sm / 300.0);
    };
    struct Case {
        const char* what;
        double dSigmaRl, sigmo, sigmaEqM;
        int cycles;
        double expected;
        std::size_t calls;
    };
    const Case cases[] = {
        {"shakedown: 2*Rpt below DSigmaRl", 400.001, 50, 150, 100000, 1.0, 0},
        {"first law, Sm = Sigmo", 400, 50, 150, 100000, law1(50), 2},
        {"first law at -Rpt", 400, -200, 150, 100000, law1(-200), 2},
        {"second law", 400, 180, 150, 100000, law2(180), 2},
        {"second law at Rpt", 400, 200, 200, 100000, law2(200), 2},
        {"|SigmaEqM| above Rpt, Sigmo = 0: Sm = DSigmaF/2 - Rpt", 400, 0, -250, 100000,
         law1(150.0 - 200.0), 2},
        {"|SigmaEqM| above Rpt, Sigmo > 0: Sm = Rpt - DSigmaF/2", 400, 10, 250, 100000,
         law1(200.0 - 150.0), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FixedCurve curve{c.cycles, {}};
        ExpectRel(ZC::Cm(500.0, 200.0, c.dSigmaRl, c.sigmo, c.sigmaEqM, 300.0, c.cycles, 400.0,
                         curve.Fn()),
                  c.expected);
        EXPECT_EQ(curve.factors.size(), c.calls);
    }
    // Sm outside -Rpt..Rpt below the knee.
    FixedCurve curve{100000, {}};
    ExpectCode(210, [&] { ZC::Cm(500.0, 200.0, 400, 201, 150, 300.0, 100000, 400.0, curve.Fn()); });
    ExpectCode(210,
               [&] { ZC::Cm(500.0, 200.0, 400, -201, 150, 300.0, 100000, 400.0, curve.Fn()); });
}

TEST(ZuvanFatigueCorrection, CmAtTheKneeReadsTheCurvesByRm) {
    const auto g400 = [](double sm) {
        return sm >= 100 ? 0.9875 - 1.25e-4 * sm : 1 / (0.9979 + 0.00029 * sm);
    };
    const auto g600 = [](double sm) {
        return sm >= 150 ? 0.93 - 2e-4 * sm : std::sqrt(0.9989 - 0.00127 * sm);
    };
    const auto g800 = [](double sm) {
        return sm >= 200 ? 0.9167 - 3.333e-4 * sm : std::sqrt(1.0104 - 0.00147 * sm);
    };
    const auto g1000 = [](double sm) {
        return sm >= 220 ? 0.8688 - 3.125e-4 * sm : std::sqrt(0.9931 - 0.00159 * sm);
    };
    struct Case {
        double rmMPa, sm, expected;
    };
    const Case cases[] = {
        {300.0, 50, g400(50)},
        {300.0, 100, 0.9875 - 0.0125},
        {500.0, 50, g400(50) + (g600(50) - g400(50)) * 100.0 / 200.0},
        {600.0, 150, 0.9},
        {700.0, 250, 0.88 + (0.9167 - 0.083325 - 0.88) * 100.0 / 200.0},
        {900.0, 210, g800(210) + (g1000(210) - g800(210)) * 100.0 / 200.0},
        {1000.0, 219, g1000(219)},
        {1500.0, 300, 0.8688 - 0.09375},
        {500.0, 450, g400(450) + (g600(450) - g400(450)) * 0.5},  // Sm above Rpt: no check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Rm " << c.rmMPa << ", Sm " << c.sm);
        FixedCurve curve{1000000000, {}};
        // Sm = Sigmo (|SigmaEqM| <= Rpt), N1 above the knee: the loop starts there.
        ExpectRel(ZC::Cm(c.rmMPa, 400.0, 0.0, c.sm, 0.0, 300.0, 1500000000, 400.0, curve.Fn()),
                  c.expected);
        ASSERT_EQ(curve.factors.size(), 2u);
        ExpectRel(curve.factors[0], c.expected);
    }
}

TEST(ZuvanFatigueCorrection, IterationsOnTheUnweldedCurve) {
    // Rm 500, Rz 200, e 100, a cycle of 400 MPa: N1 = 227227. Values from a plain
    // computation of the iteration (N = (N' + 3*N)/4, truncated).
    const ZC::PermissibleCyclesFn curve = Curve500;
    const int n1 = Curve500(400.0, 400.0, 1.0);
    ASSERT_EQ(n1, 227227);
    ExpectRel(ZC::Cs(200.0, 500.0, n1, 400.0, 400.0, curve), 0.792191385102972);
    ExpectRel(ZC::Ce(100.0, n1, 400.0, 400.0, curve), 0.8470628812995465);
    ExpectRel(ZC::Cm(500.0, 200.0, 400.0, 50.0, 150.0, 400.0, n1, 400.0, curve),
              0.9817373067857225);
    ExpectRel(ZC::Cm(500.0, 200.0, 400.0, 190.0, 150.0, 400.0, n1, 400.0, curve),
              0.9297383720930232);
    const int n1b = Curve500(350.0, 400.0, 1.0);
    ASSERT_EQ(n1b, 978610);
    ExpectRel(ZC::Cs(200.0, 500.0, n1b, 350.0, 400.0, curve), 0.7743257004973784);
}

TEST(ZuvanFatigueCorrection, IterationStartsAtTheKnee) {
    // An N1 above 2000000: the first pass evaluates the law at the knee.
    std::vector<int> lawCycles;
    const ZC::FactorLaw law = [&](int n) {
        lawCycles.push_back(n);
        return 0.9;
    };
    FixedCurve curve{1000000000, {}};
    ExpectRel(ZC::IterateFactor(1500000000, law, 400.0, 400.0, curve.Fn()), 0.9);
    EXPECT_EQ(lawCycles, (std::vector<int>{kKnee, kKnee}));

    // N = (N' + 3*N)/4 truncated, N' capped at the knee.
    lawCycles.clear();
    int answer = 2147483647;
    const ZC::FactorLaw moving = [&](int n) {
        lawCycles.push_back(n);
        return lawCycles.size() < 3 ? 0.5 * static_cast<double>(lawCycles.size()) : 1.0;
    };
    const ZC::PermissibleCyclesFn answers = [&](double, double, double) {
        const int a = answer;
        answer = 7;
        return a;
    };
    ExpectRel(ZC::IterateFactor(10, moving, 400.0, 400.0, answers), 1.0);
    // 10 -> (2000000 + 30)/4 = 500007 -> (7 + 1500021)/4 = 375007
    EXPECT_EQ(lawCycles, (std::vector<int>{10, 500007, 375007}));
}

TEST(ZuvanFatigueCorrection, IterationRefusals) {
    // A curve that answers 0 cycles for factors below 0.8 and the knee above: Ce of
    // e = 100 swings across 0.8 for ever. The 2001st pass fails.
    int calls = 0;
    const ZC::PermissibleCyclesFn swinging = [&](double, double, double f) {
        ++calls;
        return f < 0.8 ? 0 : kKnee;
    };
    ExpectCode(470, [&] { ZC::Ce(100.0, kKnee, 1.0, 1.0, swinging); });
    EXPECT_EQ(calls, 2001);

    // ln N of no cycle, a law that gives no number, ranges that are not numbers.
    FixedCurve none{0, {}};
    ExpectCode(440, [&] { ZC::Cs(200.0, 500.0, 0, 1e6, 1e6, none.Fn()); });
    ExpectCode(440, [&] { ZC::Ce(100.0, 0, 1e6, 1e6, none.Fn()); });
    FixedCurve curve{100000, {}};
    // Rm 100: M < 0, and Sm = -150 against DSigmaF = 20 puts the first law's root below 0.
    ExpectCode(440, [&] { ZC::Cm(100.0, 200.0, 100, -150, 150, 20.0, 100000, 400.0, curve.Fn()); });
    ExpectCode(
        440, [&] { ZC::Cm(500.0, 200.0, 100, 50, 150, std::nan(""), 100000, 400.0, curve.Fn()); });
    ExpectCode(440, [&] {
        ZC::IterateFactor(
            100000, [](int) { return std::nan(""); }, 400.0, 400.0, curve.Fn());
    });
    // A foreign exception inside the curve becomes code 10.
    const ZC::PermissibleCyclesFn throwing = [](double, double, double) -> int {
        throw std::runtime_error("curve");
    };
    ExpectCode(10, [&] { ZC::Ce(100.0, 100000, 400.0, 400.0, throwing); });
}

TEST(ZuvanFatigueCorrection, WeldCeByThickness) {
    struct Case {
        double thicknessMm, expected;
    };
    const Case cases[] = {
        {24.0, 1.0},
        {25.0, 1.0},
        {40.0, std::pow(25.0 / 40.0, 0.25)},
        {150.0, std::pow(25.0 / 150.0, 0.25)},
        {200.0, std::pow(25.0 / 150.0, 0.25)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "e " << c.thicknessMm);
        ExpectRel(ZC::WeldCe(c.thicknessMm), c.expected);
    }
}
