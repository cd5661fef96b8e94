#include "model/CZuvanFatigueMateriau.h"

#include <algorithm>
#include <cmath>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueText.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();
constexpr double kTemperatureTolerance = 0.1;
}  // namespace

CZuvanFatigueMateriau::CZuvanFatigueMateriau()
    : m_defined(false),
      m_name(" "),
      m_type(kTypeInconnu),
      m_comment(" "),
      m_rp20(kUnset),
      m_rm(kUnset),
      m_e(kUnset),
      m_nu(kUnset) {}

CZuvanFatigueMateriau::CZuvanFatigueMateriau(const CZuvanFatigueMateriau& other) = default;

CZuvanFatigueMateriau& CZuvanFatigueMateriau::operator=(const CZuvanFatigueMateriau& other) {
    static const char kTag[] = "<CZuvanFatigueMateriau::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_defined = other.m_defined;
            m_name = other.m_name;
            m_type = other.m_type;
            m_comment = other.m_comment;
            m_rp20 = other.m_rp20;
            m_rpt = other.m_rpt;
            m_rm = other.m_rm;
            m_e = other.m_e;
            m_nu = other.m_nu;
        });
    }
    return *this;
}

CZuvanFatigueMateriau::~CZuvanFatigueMateriau() = default;

void CZuvanFatigueMateriau::Read(const std::string& cardLine, CZuvanFatigueMateriau& material,
                                 std::istream& in) {
    static const char kTag[] = "<CZuvanFatigueMateriau::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        bool haveComment = false, haveType = false, haveParameters = false;
        std::string comment;
        int type = kTypeInconnu;
        double rp20 = kUnset, rm = kUnset, e = kUnset, nu = kUnset;
        RptTable rpt;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*COMMENTAIRE")) {
                OnceOnly(haveComment, kTag);
                comment = TextValue(line, kTag);
            } else if (IsCard(line, "*TYPE")) {
                OnceOnly(haveType, kTag);
                char letter = 0;
                Tokens t(line);
                if (!t.Character(letter)) Raise(kTag, kCodeMateriau);
                if (letter == 'F') {
                    type = kTypeFerritique;
                } else if (letter == 'A') {
                    type = kTypeAustenitique;
                } else {
                    Raise(kTag, kCodeMateriau);
                }
            } else if (IsCard(line, "*PARAMETRE")) {
                OnceOnly(haveParameters, kTag);
                Tokens t(line);
                if (!t.Real(rp20) || !t.Real(rm) || !t.Real(e) || !t.Real(nu) ||
                    !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeMateriau);
                }
            } else if (IsCard(line, "*RPT")) {
                double temperature = 0.0, value = 0.0;
                Tokens t(line);
                if (!t.Real(temperature) || !t.Real(value) || !t.NoFurtherNumber()) {
                    Raise(kTag, kCodeMateriau);
                }
                rpt.emplace_back(temperature, value);
            } else if (IsCard(line, "*FIN_MATERIAU")) {
                if (!haveType || !haveParameters) Raise(kTag, kCodeMateriau);
                material.SetDefinition(name, type, comment, rp20, rpt, rm, e, nu);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueMateriau::SetDefinition(std::string name, int type, std::string comment,
                                          double rp20MPa, RptTable rpt, double rmMPa, double eMPa,
                                          double nu) {
    static const char kTag[] = "<CZuvanFatigueMateriau::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        const auto outside = [](double v, double low, double high) {
            return !(v >= low && v <= high);  // NaN is outside too
        };
        if (name == " " || type == kTypeInconnu || outside(rp20MPa, 50.0, 2000.0) ||
            outside(rmMPa, 50.0, 2000.0) || outside(eMPa, 120000.0, 250000.0) ||
            outside(nu, 0.2, 0.4)) {
            Raise(kTag, kCodeMateriau);
        }
        for (const auto& p : rpt) {
            if (outside(p.first, -250.0, 600.0) || outside(p.second, 50.0, 2000.0)) {
                Raise(kTag, kCodeMateriau);
            }
        }
        std::sort(rpt.begin(), rpt.end());
        m_name = std::move(name);
        m_type = type;
        m_comment = std::move(comment);
        m_rp20 = rp20MPa;
        m_rpt = std::move(rpt);
        m_rm = rmMPa;
        m_e = eMPa;
        m_defined = true;
        m_nu = nu;
    });
}

double CZuvanFatigueMateriau::GetRet(double temperatureC) const {
    static const char kTag[] = "<CZuvanFatigueMateriau::GetRet>";
    return Guard(kTag, [&]() -> double {
        if (!m_defined) Raise(kTag, kCodeMateriau);
        const double t = temperatureC;
        if (std::fabs(20.0 - t) < kTemperatureTolerance) return m_rp20;
        if (m_rpt.empty()) Raise(kTag, kCodeTemperature);
        if (m_rpt.size() == 1) {
            if (!(std::fabs(m_rpt.front().first - t) <= kTemperatureTolerance)) {
                Raise(kTag, kCodeTemperature);
            }
            return m_rpt.front().second;
        }
        if (t - kTemperatureTolerance > m_rpt.back().first ||
            t + kTemperatureTolerance < m_rpt.front().first || std::isnan(t)) {
            Raise(kTag, kCodeTemperature);
        }
        const auto it = std::lower_bound(
            m_rpt.begin(), m_rpt.end(), t,
            [](const std::pair<double, double>& p, double v) { return p.first < v; });
        if (it == m_rpt.begin()) return it->second;
        if (it == m_rpt.end()) return m_rpt.back().second;
        const auto prev = it - 1;
        return prev->second +
               (t - prev->first) * (it->second - prev->second) / (it->first - prev->first);
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueMateriau& m) {
    static const char kTag[] = "<CZuvanFatigueMateriau std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 33;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom du matériau", kWidth, m.GetName());
        r.Label("Type du matériau", kWidth, m.GetType());
        r.Line("                                   10 --> inconnu");
        r.Line(
            "                                   20 --> acier non allié ou allié et non "
            "austénitique");
        r.Line(
            "                                   30 --> acier austénitique, nickel ou alliage "
            "de nickel");
        r.Label("Commentaire", kWidth, m.GetComment());
        r.Label("Limite d'élasticité à 20°C (MPa)", kWidth, m.GetRp20());
        r.Label("Nombre des paires (T,Rpt)", kWidth, m.GetRptTable().size());
        for (const auto& p : m.GetRptTable()) {
            r.LabelStart("   Paire (T,Rpt) (°C,MPa)", kWidth);
            os << p.first << "   " << p.second << '\n';
        }
        r.Label("Résistance à la traction (MPa)", kWidth, m.GetRm());
        r.Label("Module d'élasticité (MPa)", kWidth, NativeNumberText(m.GetE()));
        r.Label("Coefficient de Poisson", kWidth, m.GetNu());
        r.EmptyLine();
        return os;
    });
}
