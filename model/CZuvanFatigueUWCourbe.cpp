#include "model/CZuvanFatigueUWCourbe.h"

#include <climits>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueText.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();
constexpr double kRmMinMPa = 50.0;  // exclusive

// Truncation toward zero to a 32-bit count; a count beyond the range keeps
// its limit, and a count that is not a number does no damage.
int TruncatedCycles(double n) {
    if (std::isnan(n)) return CZuvanFatigueUWCourbe::kNoDamageCycles;
    if (n >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (n <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(n);
}
}  // namespace

CZuvanFatigueUWCourbe::CZuvanFatigueUWCourbe() : m_defined(false), m_name(" "), m_rm(kUnset) {}

CZuvanFatigueUWCourbe::CZuvanFatigueUWCourbe(const CZuvanFatigueUWCourbe& other)
    : m_defined(false), m_rm(kUnset) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::CZuvanFatigueUWCourbe(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueUWCourbe& CZuvanFatigueUWCourbe::operator=(const CZuvanFatigueUWCourbe& other) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_name = other.m_name;
            m_defined = other.m_defined;
            m_rm = other.m_rm;
        });
    }
    return *this;
}

CZuvanFatigueUWCourbe::~CZuvanFatigueUWCourbe() = default;

void CZuvanFatigueUWCourbe::Read(const std::string& cardLine, CZuvanFatigueUWCourbe& curve,
                                 std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveParameter = false;
        double rm = kUnset;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveParameter, kTag);
                Tokens t(line);
                if (!t.Real(rm) || !t.NoFurtherNumber()) Raise(kTag, kCodeUWCourbe);
            } else if (IsCard(line, "*FIN_UWCOURBE")) {
                if (!haveParameter) Raise(kTag, kCodeUWCourbe);
                curve.SetDefinition(name, rm);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueUWCourbe::SetDefinition(std::string name, double rmMPa) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        // No upper bound on Rm, but an infinite one defines no curve.
        if (name == " " || !(rmMPa > kRmMinMPa) || !std::isfinite(rmMPa)) {
            Raise(kTag, kCodeUWCourbe);
        }
        m_name = std::move(name);
        m_rm = rmMPa;
        m_defined = true;
    });
}

void CZuvanFatigueUWCourbe::SetDefinition(double rmMPa) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        if (!(rmMPa > kRmMinMPa) || !std::isfinite(rmMPa)) Raise(kTag, kCodeUWCourbe);
        // The integer part in decimal digits, whatever its size.
        std::ostringstream name;
        name.imbue(std::locale::classic());
        name.setf(std::ios::fixed, std::ios::floatfield);
        name.precision(0);
        name << std::trunc(rmMPa);
        SetDefinition(name.str(), rmMPa);
    });
}

double CZuvanFatigueUWCourbe::GetDSigmaD() const {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::GetDSigmaD>";
    if (!m_defined) Raise(kTag, kCodeUWCourbe);
    return 0.63 * m_rm + 46000.0 / std::pow(2000000.0, 0.5) - 11.5;
}

double CZuvanFatigueUWCourbe::GetDSigmaC() const {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::GetDSigmaC>";
    if (!m_defined) Raise(kTag, kCodeUWCourbe);
    return GetDSigmaD() * std::pow(0.02, 0.1);
}

void CZuvanFatigueUWCourbe::GetDefinition(std::string& name, int& nD, double& dSigmaDMPa, int& nC,
                                          double& dSigmaCMPa, double& rmMPa) const {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::GetDefinition>";
    Guard(kTag, [&] {
        if (!m_defined) Raise(kTag, kCodeUWCourbe);
        name = m_name;
        nD = kEnduranceCycles;
        dSigmaDMPa = GetDSigmaD();
        nC = kTruncationCycles;
        dSigmaCMPa = GetDSigmaC();
        rmMPa = m_rm;
    });
}

int CZuvanFatigueUWCourbe::PermissibleCycles(double dSigmaMPa, double dSigmaMaxMPa,
                                             double f) const {
    static const char kTag[] = "<CZuvanFatigueUWCourbe::PermissibleCycles>";
    if (!m_defined) Raise(kTag, kCodeUWCourbe);
    const double dSigmaD = GetDSigmaD();
    const double dSigmaC = GetDSigmaC();
    const double x = dSigmaMPa / f;
    double n = 0.0;
    if (x >= dSigmaD) {
        const double root = 46000.0 / (x - 0.63 * m_rm + 11.5);
        n = root * root;
    } else if (x <= dSigmaC || std::isnan(x)) {
        n = kNoDamageCycles;
    } else if (dSigmaMaxMPa / f < dSigmaD) {
        n = kNoDamageCycles;  // no range of the spectrum reaches the endurance limit
    } else {
        // 21.0269 as in the code's formula, not the 21.026911934581186 of Δσ_D.
        const double ratio = (0.63 * m_rm + 21.0269) / x;
        const double tenth =
            ratio * ratio * ratio * ratio * ratio * ratio * ratio * ratio * ratio * ratio;
        n = 2000000.0 * tenth;
    }
    return TruncatedCycles(n);
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueUWCourbe& c) {
    static const char kTag[] = "<CZuvanFatigueUWCourbe std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 51;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom de la courbe de fatigue pour zone sans soudure", kWidth, c.GetName());
        r.Label("Résistance à la traction (MPa)", kWidth, c.GetRm());
        r.Label("Nombre de cycles à la limite d'endurance", kWidth,
                NativeNumberText(static_cast<double>(CZuvanFatigueUWCourbe::kEnduranceCycles)));
        r.Label("Limite d'endurance (MPa)", kWidth, c.GetDSigmaD());
        r.Label("Nombre de cycles à la limite de troncature", kWidth,
                NativeNumberText(static_cast<double>(CZuvanFatigueUWCourbe::kTruncationCycles)));
        r.Label("Limite de troncature (MPa)", kWidth, c.GetDSigmaC());
        r.EmptyLine();
        return os;
    });
}
