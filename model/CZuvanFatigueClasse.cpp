#include "model/CZuvanFatigueClasse.h"

#include <climits>
#include <cmath>
#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueText.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();

// Truncation toward zero to a 32-bit count; a count beyond the range keeps
// its limit, and a count that is not a number does no damage.
int TruncatedCycles(double n) {
    if (std::isnan(n)) return CZuvanFatigueClasse::kNoDamageCycles;
    if (n >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (n <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(n);
}

// A number of cycles read as a real number, truncated toward zero; false
// when it has no 32-bit value.
bool CycleCount(double value, int& count) {
    if (!(value > static_cast<double>(INT_MIN) - 1.0 &&
          value < static_cast<double>(INT_MAX) + 1.0)) {
        return false;
    }
    count = static_cast<int>(value);
    return true;
}
}  // namespace

CZuvanFatigueClasse::CZuvanFatigueClasse()
    : m_defined(false),
      m_name(" "),
      m_nD(-1),
      m_dSigmaD(kUnset),
      m_nC(-1),
      m_dSigmaC(kUnset),
      m_m1(kUnset),
      m_c1(kUnset),
      m_m2(kUnset),
      m_c2(kUnset) {}

CZuvanFatigueClasse::CZuvanFatigueClasse(const CZuvanFatigueClasse& other) : CZuvanFatigueClasse() {
    static const char kTag[] = "<CZuvanFatigueClasse::CZuvanFatigueClasse(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueClasse& CZuvanFatigueClasse::operator=(const CZuvanFatigueClasse& other) {
    static const char kTag[] = "<CZuvanFatigueClasse::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_name = other.m_name;
            m_defined = other.m_defined;
            m_nD = other.m_nD;
            m_dSigmaD = other.m_dSigmaD;
            m_nC = other.m_nC;
            m_dSigmaC = other.m_dSigmaC;
            m_m1 = other.m_m1;
            m_c1 = other.m_c1;
            m_m2 = other.m_m2;
            m_c2 = other.m_c2;
        });
    }
    return *this;
}

CZuvanFatigueClasse::~CZuvanFatigueClasse() = default;

void CZuvanFatigueClasse::Read(const std::string& cardLine, CZuvanFatigueClasse& fatigueClass,
                               std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueClasse::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveLimits = false, haveLines = false;
        double nD = kUnset, dSigmaD = kUnset, nC = kUnset, dSigmaC = kUnset;
        double m1 = kUnset, c1 = kUnset, m2 = kUnset, c2 = kUnset;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*PARAMETRES")) {
                OnceOnly(haveLines, kTag);
                Tokens t(line);
                if (!t.Real(m1) || !t.Real(c1) || !t.Real(m2) || !t.Real(c2) ||
                    !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeClasse);
                }
            } else if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveLimits, kTag);
                Tokens t(line);
                if (!t.Real(nD) || !t.Real(dSigmaD) || !t.Real(nC) || !t.Real(dSigmaC) ||
                    !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeClasse);
                }
            } else if (IsCard(line, "*FIN_CLASSE")) {
                if (!haveLimits || !haveLines) Raise(kTag, kCodeClasse);
                int nDCount = 0, nCCount = 0;
                if (!CycleCount(nD, nDCount) || !CycleCount(nC, nCCount)) {
                    Raise(kTag, kCodeClasse);
                }
                fatigueClass.SetDefinition(name, nDCount, nCCount, dSigmaD, dSigmaC, m1, c1, m2,
                                           c2);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueClasse::SetDefinition(std::string name, int nD, int nC, double dSigmaDMPa,
                                        double dSigmaCMPa, double m1, double c1, double m2,
                                        double c2) {
    static const char kTag[] = "<CZuvanFatigueClasse::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        // Strict bounds, written so that a NaN fails them; an infinite value
        // gives no usable line either.
        const bool valid = name != " " && nD > 10000 && dSigmaDMPa > 5.0 && nC > nD &&
                           dSigmaDMPa > dSigmaCMPa && m1 > 1.0 && c1 > 1000000000.0 && m2 > 1.0 &&
                           c2 > 1000000000.0;
        const bool finite = std::isfinite(dSigmaDMPa) && std::isfinite(dSigmaCMPa) &&
                            std::isfinite(m1) && std::isfinite(c1) && std::isfinite(m2) &&
                            std::isfinite(c2);
        if (!valid || !finite) Raise(kTag, kCodeClasse);
        m_name = std::move(name);
        m_nD = nD;
        m_dSigmaD = dSigmaDMPa;
        m_nC = nC;
        m_dSigmaC = dSigmaCMPa;
        m_m1 = m1;
        m_c1 = c1;
        m_m2 = m2;
        m_c2 = c2;
        m_defined = true;
    });
}

int CZuvanFatigueClasse::PermissibleCycles(double dSigmaMPa, double dSigmaMaxMPa, double f) const {
    static const char kTag[] = "<CZuvanFatigueClasse::PermissibleCycles>";
    if (!m_defined) Raise(kTag, kCodeClasse);
    const double x = dSigmaMPa / f;
    double n = 0.0;
    if (x >= m_dSigmaD) {
        n = m_c1 / std::pow(x, m_m1);
    } else if (x <= m_dSigmaC || std::isnan(x)) {
        n = kNoDamageCycles;
    } else if (m_dSigmaD > dSigmaMaxMPa) {
        n = kNoDamageCycles;  // no range of the spectrum reaches the endurance limit
    } else {
        n = m_c2 / std::pow(x, m_m2);
    }
    return TruncatedCycles(n);
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueClasse& c) {
    static const char kTag[] = "<CZuvanFatigueClasse std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 55;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom de la classe de fatigue", kWidth, c.GetName());
        r.Label("Nombre de cycles à la limite d'endurance", kWidth,
                NativeNumberText(static_cast<long long>(c.GetND())));
        r.Label("Limite d'endurance (MPa)", kWidth, c.GetDSigmaD());
        r.Label("Nombre de cycles à la limite de troncature", kWidth,
                NativeNumberText(static_cast<long long>(c.GetNC())));
        r.Label("Limite de troncature (MPa)", kWidth, c.GetDSigmaC());
        r.Label("Paramètre m1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3)", kWidth, c.GetM1());
        r.Label("Paramètre C1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3)", kWidth, c.GetC1());
        r.Label("Paramètre m2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3)", kWidth, c.GetM2());
        r.Label("Paramètre C2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3)", kWidth, c.GetC2());
        r.EmptyLine();
        return os;
    });
}
