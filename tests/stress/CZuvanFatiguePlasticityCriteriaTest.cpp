// Tresca and von Mises equivalent stresses from the closed-form principal stresses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueMises.h"
#include "stress/CZuvanFatigueTresca.h"

namespace {

using Tensor = CZuvanFatiguePlasticityCriteria::Tensor;

// The rounded constants of the closed form put results a few parts in 1e10 off.
constexpr double kRelative = 1e-9;

void ExpectClose(double actual, double expected, double relative = kRelative) {
    EXPECT_NEAR(actual, expected, relative * std::max(1.0, std::fabs(expected)));
}

// Components of Q D Q^T for D = diag(d0, d1, d2) and a rotation Q about three axes.
Tensor Rotated(double d0, double d1, double d2, double a, double b, double c) {
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    const double cc = std::cos(c), sc = std::sin(c);
    const double q[3][3] = {{cb * cc, -cb * sc, sb},
                            {sa * sb * cc + ca * sc, -sa * sb * sc + ca * cc, -sa * cb},
                            {-ca * sb * cc + sa * sc, ca * sb * sc + sa * cc, ca * cb}};
    const double d[3] = {d0, d1, d2};
    double s[3][3] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) s[i][j] += q[i][k] * d[k] * q[j][k];
        }
    }
    return {s[0][0], s[0][1], s[0][2], s[1][1], s[1][2], s[2][2]};
}

}  // namespace

TEST(CZuvanFatiguePlasticityCriteria, ClassicStatesGiveTheirEquivalentStresses) {
    struct Case {
        const char* state;
        Tensor s;
        double tresca, mises;
    };
    const double root3 = std::sqrt(3.0);
    const Case cases[] = {
        {"uniaxial Sxx", {100, 0, 0, 0, 0, 0}, 100.0, 100.0},
        {"uniaxial compression Syy", {0, 0, 0, -250, 0, 0}, 250.0, 250.0},
        {"uniaxial Szz", {0, 0, 0, 0, 0, 42.5}, 42.5, 42.5},
        {"pure shear Sxy", {0, 50, 0, 0, 0, 0}, 100.0, 50.0 * root3},
        {"pure shear Sxz", {0, 0, -50, 0, 0, 0}, 100.0, 50.0 * root3},
        {"pure shear Syz", {0, 0, 0, 0, 50, 0}, 100.0, 50.0 * root3},
        {"equal biaxial Sxx = Syy", {100, 0, 0, 100, 0, 0}, 100.0, 100.0},
        {"equal biaxial Syy = Szz", {0, 0, 0, -80, 0, -80}, 80.0, 80.0},
        {"hydrostatic", {120, 0, 0, 120, 0, 120}, 0.0, 0.0},
        {"hydrostatic plus uniaxial", {220, 0, 0, 120, 0, 120}, 100.0, 100.0},
        {"general, rotated", Rotated(300, 100, -50, 0.3, -1.1, 2.0), 350.0, std::sqrt(92500.0)},
    };
    const CZuvanFatigueTresca tresca;
    const CZuvanFatigueMises mises;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        ExpectClose(tresca.EquivalentStress(c.s), c.tresca);
        ExpectClose(mises.EquivalentStress(c.s), c.mises);
    }
}

TEST(CZuvanFatiguePlasticityCriteria, KeepsTheRoundedConstantsOfTheClosedForm) {
    // With pi as 3.141592654 a uniaxial 100 MPa gives about 99.99999999 by von
    // Mises and 100.00000002 by Tresca; the exact constant would give 100 to
    // within 1e-12.
    const Tensor s = {100, 0, 0, 0, 0, 0};
    const double mises = CZuvanFatigueMises().EquivalentStress(s);
    const double tresca = CZuvanFatigueTresca().EquivalentStress(s);
    EXPECT_NEAR(mises, 99.99999999, 3e-9);
    EXPECT_NEAR(tresca, 100.00000002, 5e-9);
    EXPECT_LT(mises, 100.0 - 5e-9);
    EXPECT_GT(tresca, 100.0 + 5e-9);
}

TEST(CZuvanFatiguePlasticityCriteria, TensorsBelowTheNormThresholdGiveZero) {
    const Tensor tiny[] = {
        {0, 0, 0, 0, 0, 0},
        {0.00005, 0, 0, 0, 0, 0},
        {0.00004, 0.00004, 0.00004, 0.00004, 0.00004, 0.00004},  // norm 0.000098
    };
    for (const Tensor& s : tiny) {
        EXPECT_EQ(CZuvanFatigueTresca().EquivalentStress(s), 0.0);
        EXPECT_EQ(CZuvanFatigueMises().EquivalentStress(s), 0.0);
    }
    // Just above the threshold the criteria answer again.
    ExpectClose(CZuvanFatigueTresca().EquivalentStress({0.0002, 0, 0, 0, 0, 0}), 0.0002);
}

TEST(CZuvanFatiguePlasticityCriteria, ResultDoesNotDependOnTheOrderOfThePrincipalStresses) {
    // The same principal stresses on every permutation of the axes and in
    // rotated frames: the closed form gives them out in different orders.
    const double d[3] = {300.0, 100.0, -50.0};
    int order[3] = {0, 1, 2};
    const CZuvanFatigueTresca tresca;
    const CZuvanFatigueMises mises;
    const double expectedTresca = tresca.EquivalentStress({d[0], 0, 0, d[1], 0, d[2]});
    const double expectedMises = mises.EquivalentStress({d[0], 0, 0, d[1], 0, d[2]});
    do {
        const Tensor s = {d[order[0]], 0, 0, d[order[1]], 0, d[order[2]]};
        SCOPED_TRACE(testing::Message() << d[order[0]] << " " << d[order[1]] << " " << d[order[2]]);
        ExpectClose(tresca.EquivalentStress(s), expectedTresca);
        ExpectClose(mises.EquivalentStress(s), expectedMises);
        const Tensor r = Rotated(d[order[0]], d[order[1]], d[order[2]], 0.7, 0.2, -0.4);
        ExpectClose(tresca.EquivalentStress(r), expectedTresca);
        ExpectClose(mises.EquivalentStress(r), expectedMises);
    } while (std::next_permutation(order, order + 3));
}

TEST(CZuvanFatiguePlasticityCriteria, RoundingBeyondTheArccosDomainStaysFinite) {
    // Uniaxial and equal-biaxial states put the arccos argument at exactly +-1;
    // for about a quarter of these magnitudes rounding carries it beyond. Where
    // rounding leaves it a unit below 1, the arccos turns that unit into some
    // 1e-8 rad: a few parts in 1e8 on the result.
    const CZuvanFatigueTresca tresca;
    const CZuvanFatigueMises mises;
    for (int i = 1; i <= 400; ++i) {
        const double s = i * 0.37 + 0.001 * i * i;
        const Tensor states[] = {
            {s, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, -s}, {s, 0, 0, s, 0, 0}, {0, 0, 0, -s, 0, -s}};
        for (const Tensor& t : states) {
            SCOPED_TRACE(testing::Message() << "magnitude " << s);
            ExpectClose(tresca.EquivalentStress(t), s, 1e-7);
            ExpectClose(mises.EquivalentStress(t), s, 1e-7);
        }
    }
}

TEST(CZuvanFatiguePlasticityCriteria, GeneralTensorsAgreeWithTheComponentFormOfVonMises) {
    // Von Mises from the components, with no principal stresses; Tresca lies
    // between it and 2/3^0.5 times it.
    const CZuvanFatigueTresca tresca;
    const CZuvanFatigueMises mises;
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 20001) / 10.0 - 1000.0;  // [-1000, 1000]
    };
    for (int i = 0; i < 300; ++i) {
        const Tensor s = {next(), next(), next(), next(), next(), next()};
        const double sxx = s[0], sxy = s[1], sxz = s[2], syy = s[3], syz = s[4], szz = s[5];
        const double fromComponents = std::sqrt(
            0.5 * ((sxx - syy) * (sxx - syy) + (syy - szz) * (syy - szz) +
                   (szz - sxx) * (szz - sxx) + 6.0 * (sxy * sxy + syz * syz + sxz * sxz)));
        const double m = mises.EquivalentStress(s);
        const double t = tresca.EquivalentStress(s);
        SCOPED_TRACE(i);
        EXPECT_NEAR(m, fromComponents, 1e-8 * fromComponents);
        EXPECT_GE(t, m * (1.0 - 1e-9));
        EXPECT_LE(t, m * 2.0 / std::sqrt(3.0) * (1.0 + 1e-9));
    }
}

TEST(CZuvanFatiguePlasticityCriteria, RefusesNonFiniteAndOverflowingTensors) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Tensor bad[] = {
        {nan, 0, 0, 0, 0, 0},     {0, 0, 0, 0, 0, inf},
        {0, -inf, 0, 0, 0, 0},    {1e200, 0, 0, 0, 0, 0},  // the invariants overflow
        {1e60, 0, 0, 2e60, 0, 0},
    };
    const CZuvanFatigueTresca tresca;
    const CZuvanFatigueMises mises;
    const CZuvanFatiguePlasticityCriteria* criteria[] = {&tresca, &mises};
    for (const Tensor& s : bad) {
        for (const CZuvanFatiguePlasticityCriteria* c : criteria) {
            SCOPED_TRACE(testing::Message() << s[0] << " " << s[1] << " " << s[3] << " " << s[5]);
            try {
                c->EquivalentStress(s);
                FAIL();
            } catch (const CExceptionZuvanFatigue& e) {
                EXPECT_EQ(e.GetCode(), 210);
            }
        }
    }
}
