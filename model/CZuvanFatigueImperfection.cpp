#include "model/CZuvanFatigueImperfection.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();
constexpr double kPi = 3.141592654;

// Pressure factor of the local out-of-roundness (C11.A6.9), tabulated
// against r = δ / Dm.
constexpr std::size_t kRows = 8;
constexpr double kR[kRows] = {0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02};
// Internal pressure: R = (1 + c1 q + c2 q²) / (1 + c3 q + c4 q²).
constexpr double kC[kRows][4] = {
    {1.170675, -0.001431, 1.168925, 0.006444}, {1.142395, -0.001936, 1.140040, 0.008949},
    {1.077960, -0.002659, 1.074659, 0.013663}, {1.002205, -0.003128, 0.998227, 0.018501},
    {0.903369, -0.003387, 0.898987, 0.024551}, {0.756336, -0.003260, 0.752191, 0.034774},
    {0.657244, -0.002848, 0.653691, 0.045174}, {0.585757, -0.002285, 0.582368, 0.059728},
};
// External pressure: R = (1 + d1 P / Pa) / (1 + d2 P / Pa).
constexpr double kD[kRows][2] = {
    {-0.215014, -0.218133}, {-0.214384, -0.218788}, {-0.213140, -0.220079}, {-0.211747, -0.221519},
    {-0.209793, -0.223527}, {-0.205981, -0.227412}, {-0.201805, -0.231622}, {-0.196147, -0.237254},
};

// Coefficients of a table at r: the first row below the table, the last row
// from its end on, linear between the two rows that enclose r.
template <std::size_t N>
void Interpolate(const double (&table)[kRows][N], double r, double (&out)[N]) {
    std::size_t row = kRows;  // kRows: between two rows
    if (!(r > kR[0])) {
        row = 0;
    } else if (r >= kR[kRows - 1]) {
        row = kRows - 1;
    }
    if (row < kRows) {
        for (std::size_t k = 0; k < N; ++k) out[k] = table[row][k];
        return;
    }
    std::size_t i = 0;
    while (!(r < kR[i + 1])) ++i;  // kR[i] <= r < kR[i + 1]
    for (std::size_t k = 0; k < N; ++k) {
        out[k] = table[i][k] + (r - kR[i]) * (table[i + 1][k] - table[i][k]) / (kR[i + 1] - kR[i]);
    }
}

bool Outside(double v, double low, double high) { return !(v >= low && v <= high); }

const char* const kLegends[] = {
    "                                                         10-->inconnu",
    "                                                         20-->longi cylindre",
    "                                                         30-->circonf cylindre",
    "                                                         40-->sur sphère",
};
}  // namespace

CZuvanFatigueImperfection::CZuvanFatigueImperfection()
    : m_defined(false),
      m_name(" "),
      m_kind(kKindInconnu),
      m_dm(kUnset),
      m_dmax(kUnset),
      m_dmin(kUnset),
      m_e(kUnset),
      m_delta(kUnset),
      m_theta(kUnset),
      m_alpha(kUnset) {}

CZuvanFatigueImperfection::CZuvanFatigueImperfection(const CZuvanFatigueImperfection& other)
    : CZuvanFatigueImperfection() {
    static const char kTag[] =
        "<CZuvanFatigueImperfection::CZuvanFatigueImperfection(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueImperfection& CZuvanFatigueImperfection::operator=(
    const CZuvanFatigueImperfection& other) {
    static const char kTag[] = "<CZuvanFatigueImperfection::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_name = other.m_name;
            m_defined = other.m_defined;
            m_kind = other.m_kind;
            m_dm = other.m_dm;
            m_dmax = other.m_dmax;
            m_dmin = other.m_dmin;
            m_e = other.m_e;
            m_delta = other.m_delta;
            m_theta = other.m_theta;
            m_alpha = other.m_alpha;
        });
    }
    return *this;
}

CZuvanFatigueImperfection::~CZuvanFatigueImperfection() = default;

void CZuvanFatigueImperfection::Read(const std::string& cardLine,
                                     CZuvanFatigueImperfection& imperfection, std::istream& in,
                                     int kind) {
    static const char kTag[] = "<CZuvanFatigueImperfection::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveDiameters = false, haveParameters = false;
        double dm = kUnset, dmax = kUnset, dmin = kUnset;
        double e = kUnset, theta = kUnset, alpha = kUnset, delta = kUnset;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*DIAMETRE")) {
                OnceOnly(haveDiameters, kTag);
                Tokens t(line);
                if (!t.Real(dm) || !t.Real(dmax) || !t.Real(dmin) || !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeImperfection);
                }
            } else if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveParameters, kTag);
                // Read as e, θ, α, δ.
                Tokens t(line);
                if (!t.Real(e) || !t.Real(theta) || !t.Real(alpha) || !t.Real(delta) ||
                    !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeImperfection);
                }
            } else if (IsCard(line, "*FIN_IMPERFECTION")) {
                if (!haveDiameters || !haveParameters) Raise(kTag, kCodeImperfection);
                imperfection.SetDefinition(name, kind, dm, dmax, dmin, e, delta, theta, alpha);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueImperfection::SetDefinition(std::string name, int kind, double dmMm,
                                              double dmaxMm, double dminMm, double eMm,
                                              double deltaMm, double thetaDeg, double alpha) {
    static const char kTag[] = "<CZuvanFatigueImperfection::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        const double ovality = (dmaxMm - dminMm) / dmMm;
        if (kind == kKindInconnu || !(dmMm >= 1.0) || !std::isfinite(dmMm) ||
            !std::isfinite(dmaxMm) || !std::isfinite(dminMm) || Outside(eMm, 0.0, 50.0) ||
            Outside(deltaMm, 0.0, 100.0) || Outside(thetaDeg, 0.0, 360.0) ||
            Outside(alpha, -40.0, 40.0) || Outside(ovality, -0.00001, 0.2)) {
            Raise(kTag, kCodeImperfection);
        }
        m_name = std::move(name);
        m_kind = kind;
        m_dm = dmMm;
        m_dmax = dmaxMm;
        m_dmin = dminMm;
        m_e = eMm;
        m_delta = deltaMm;
        m_theta = thetaDeg;
        m_alpha = alpha;
        m_defined = true;
    });
}

std::pair<double, double> CZuvanFatigueImperfection::GetA(double t1Mm, double t2Mm, double pMPa,
                                                          double paMPa, double eMPa,
                                                          double nu) const {
    static const char kTag[] = "<CZuvanFatigueImperfection::GetA>";
    return Guard(kTag, [&]() -> std::pair<double, double> {
        if (!m_defined) Raise(kTag, kCodeImperfection);
        const double tmin = t1Mm < t2Mm ? t1Mm : t2Mm;
        const double tmax = t1Mm < t2Mm ? t2Mm : t1Mm;
        const double e = m_e;
        double aPerpendicular = 0.0, aParallel = 0.0;
        if (m_kind == kKindCirconferentiel) {
            aPerpendicular = 1.0 + 3.0 * e / tmax;
            aParallel = 1.0 + e / (2.0 * tmax);
        } else if (m_kind == kKindSphere) {
            aPerpendicular = 1.0 + 3.0 * e / tmax + m_alpha * std::sqrt(m_dm / (2.0 * tmin)) / 50.0;
            aParallel = 1.0;
        } else if (m_kind == kKindLongitudinal) {
            // Under external pressure both factors divide by the shell's maximum
            // external pressure, which must then be positive.
            if (pMPa < 0.0 && !(paMPa > 0.0)) Raise(kTag, kCodeImperfection);
            // Misalignment of the mid-surfaces.
            const double m = (3.0 * e / tmax) * std::pow(tmax / tmin, 0.67);
            // Global out-of-roundness (C11.A6.7).
            const double slenderness = std::pow(m_dm / tmin, 3.0);
            double f = 0.0;
            if (pMPa >= 0.0) {
                f = 1.0 / (1.0 + pMPa * (1.0 - nu * nu) / (2.0 * eMPa) * slenderness);
            } else {
                f = 1.0 / (1.0 - pMPa / (3.0 * paMPa));
            }
            const double g =
                f * 1.5 * (m_dmax - m_dmin) / tmin * std::cos(2.0 * m_theta * kPi / 180.0);
            // Local out-of-roundness (C11.A6.9).
            const double r = m_delta / m_dm;
            double rFactor = 0.0;
            if (pMPa >= 0.0) {
                const double q = 3.0 * pMPa * (1.0 - nu * nu) / (2.0 * eMPa) * slenderness;
                double c[4];
                Interpolate(kC, r, c);
                rFactor = (1.0 + c[0] * q + c[1] * q * q) / (1.0 + c[2] * q + c[3] * q * q);
            } else {
                double d[2];
                Interpolate(kD, r, d);
                rFactor = (1.0 + d[0] * pMPa / paMPa) / (1.0 + d[1] * pMPa / paMPa);
            }
            const double l =
                6.0 * (m_delta / tmin) * (1.0 - 0.628 * std::sqrt(m_delta / m_dm)) * rFactor;
            aPerpendicular = 1.0 + m + std::fabs(l + g);
            aParallel = 1.0;
        } else {
            Raise(kTag, kCodeImperfection);
        }
        if (!std::isfinite(aPerpendicular) || !std::isfinite(aParallel)) {
            Raise(kTag, kCodeImperfection);
        }
        return {aPerpendicular, aParallel};
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueImperfection& imperfection) {
    static const char kTag[] = "<CZuvanFatigueImperfection std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 55;
        const CZuvanFatigueImperfection& i = imperfection;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom de l'imperfection de forme", kWidth, i.GetName());
        r.Label("Type de l'imperfection", kWidth, i.GetKind());
        for (const char* legend : kLegends) r.Line(legend);
        r.Label("Diamètre moyen de l'enveloppe", kWidth, i.GetDm());
        r.Label("Diamètre maximal de l'enveloppe", kWidth, i.GetDmax());
        r.Label("Diamètre minimal de l'enveloppe", kWidth, i.GetDmin());
        r.Label("Décalage de fibre moyen selon C11.A6", kWidth, i.GetE());
        r.Label("Ecart local de circularité selon C11.A6.9", kWidth, i.GetDelta());
        r.Label("Angle définissant la position du cordon selon C11.A6.7", kWidth, i.GetTheta());
        r.Label("Désalignement angulaire sur une sphère selon C11.A6.8", kWidth, i.GetAlpha());
        r.EmptyLine();
        return os;
    });
}
