#include "stress/CZuvanFatigueReleve.h"

#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"
#include "report/ZuvanFatigueTable.h"

namespace {
constexpr double kUnset = std::numeric_limits<double>::lowest();

bool Outside(double v, double low, double high) { return !(v >= low && v <= high); }
}  // namespace

CZuvanFatigueReleve::CZuvanFatigueReleve()
    : m_defined(false),
      m_name(" "),
      m_number(-1),
      m_pressure(kUnset),
      m_temperature(kUnset),
      m_sij(UnsetTensor()),
      m_sijm(UnsetTensor()),
      m_sijlm(UnsetTensor()),
      m_sijlt(UnsetTensor()) {}

CZuvanFatigueReleve::CZuvanFatigueReleve(const CZuvanFatigueReleve& other) = default;

CZuvanFatigueReleve& CZuvanFatigueReleve::operator=(const CZuvanFatigueReleve& other) {
    static const char kTag[] = "<CZuvanFatigueReleve::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_defined = other.m_defined;
            m_name = other.m_name;
            m_number = other.m_number;
            m_pressure = other.m_pressure;
            m_temperature = other.m_temperature;
            m_sij = other.m_sij;
            m_sijm = other.m_sijm;
            m_sijlm = other.m_sijlm;
            m_sijlt = other.m_sijlt;
        });
    }
    return *this;
}

CZuvanFatigueReleve::~CZuvanFatigueReleve() = default;

CZuvanFatigueReleve::Tensor CZuvanFatigueReleve::UnsetTensor() {
    return {kUnset, kUnset, kUnset, kUnset, kUnset, kUnset};
}

CZuvanFatigueReleve::PointTensors CZuvanFatigueReleve::UnsetPoint() {
    return {UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor()};
}

bool CZuvanFatigueReleve::InBounds(const PointTensors& p) {
    return InBounds(p.sij) && InBounds(p.sijm) && InBounds(p.sijlm) && InBounds(p.sijlt);
}

bool CZuvanFatigueReleve::InBounds(const Tensor& t) {
    for (double v : t) {
        if (Outside(v, -kStressLimitMPa, kStressLimitMPa)) return false;
    }
    return true;
}

void CZuvanFatigueReleve::ReadBlock(std::istream& in, const char* tag, const char* closing,
                                    TensorCard* cards, std::size_t count, double& pressureMPa,
                                    double& temperatureC) {
    using namespace ZuvanFatigueCards;
    bool haveParameters = false;
    unsigned long long given = 0;  // one bit per tensor card (at most 12)
    std::string line;
    for (;;) {
        ReadBlockLine(in, line, tag);
        if (IsCard(line, "*PARAMETRE")) {
            OnceOnly(haveParameters, tag);
            Tokens t(line);
            if (!t.Real(pressureMPa) || !t.Real(temperatureC) || !t.NoFurtherNumber()) {
                Raise(tag, kCodeReleve);
            }
            continue;
        }
        std::size_t i = 0;
        for (; i < count; ++i) {
            const std::string keyword = cards[i].keyword;
            // A blank must follow: a line of the keyword alone has no character
            // there and fails as any out-of-range read of a card line (code 10).
            if (IsCard(line, cards[i].keyword) &&
                (!cards[i].blankAfter || line.at(keyword.size()) == ' ')) {
                break;
            }
        }
        if (i < count) {
            if (given & (1ULL << i)) Raise(tag, kCodeMalPlacee);
            given |= 1ULL << i;
            Tokens t(line);
            Tensor& values = *cards[i].values;
            for (double& v : values) {
                if (!t.Real(v)) Raise(tag, kCodeReleve);
            }
            if (!t.NoFurtherNumber()) Raise(tag, kCodeReleve);
        } else if (IsCard(line, closing)) {
            if (!haveParameters || given != (1ULL << count) - 1) Raise(tag, kCodeReleve);
            return;
        } else if (!IsIgnored(line)) {
            Raise(tag, kCodeCarteInconnue);
        }
    }
}

void CZuvanFatigueReleve::PointCards(int point, PointTensors& p, TensorCard* cards) {
    static const char* const kKeywords[3][4] = {
        {"*SIJA", "*SIJMA", "*SIJLMA", "*SIJLTA"},
        {"*SIJB", "*SIJMB", "*SIJLMB", "*SIJLTB"},
        {"*SIJC", "*SIJMC", "*SIJLMC", "*SIJLTC"},
    };
    Tensor* const values[4] = {&p.sij, &p.sijm, &p.sijlm, &p.sijlt};
    for (int j = 0; j < 4; ++j) cards[j] = {kKeywords[point][j], values[j], false};
}

void CZuvanFatigueReleve::Read(std::istream& in, const std::string& cardLine, int number) {
    static const char kTag[] = "<CZuvanFatigueReleve::Read>";
    Guard(kTag, [&] {
        const std::string name = ZuvanFatigueCards::HeaderName(cardLine);
        double pressure = kUnset, temperature = kUnset;
        Tensor sij = UnsetTensor(), sijm = UnsetTensor(), sijlm = UnsetTensor(),
               sijlt = UnsetTensor();
        TensorCard cards[] = {
            {"*SIJ", &sij, true},
            {"*SIJM", &sijm, false},
            {"*SIJLM", &sijlm, false},
            {"*SIJLT", &sijlt, false},
        };
        ReadBlock(in, kTag, "*FIN_RELEVE", cards, 4, pressure, temperature);
        SetDefinition(name, number, pressure, temperature, sij, sijm, sijlm, sijlt);
    });
}

void CZuvanFatigueReleve::SetDefinition(std::string name, int number, double pressureMPa,
                                        double temperatureC, const Tensor& sij, const Tensor& sijm,
                                        const Tensor& sijlm, const Tensor& sijlt) {
    static const char kTag[] = "<CZuvanFatigueReleve::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        if (number < 0 || Outside(pressureMPa, -kPressureLimitMPa, kPressureLimitMPa) ||
            Outside(temperatureC, kTemperatureLowC, kTemperatureHighC) || !InBounds(sij) ||
            !InBounds(sijm) || !InBounds(sijlm) || !InBounds(sijlt)) {
            Raise(kTag, kCodeReleve);
        }
        m_name = std::move(name);
        m_number = number;
        m_pressure = pressureMPa;
        m_temperature = temperatureC;
        m_sij = sij;
        m_sijm = sijm;
        m_sijlm = sijlm;
        m_sijlt = sijlt;
        m_defined = true;
    });
}

void CZuvanFatigueReleve::SetStresses(const Tensor& sij, const Tensor& sijm, const Tensor& sijlm,
                                      const Tensor& sijlt) {
    static const char kTag[] = "<CZuvanFatigueReleve::SetStresses>";
    Guard(kTag, [&] {
        m_defined = false;
        if (!InBounds(sij) || !InBounds(sijm) || !InBounds(sijlm) || !InBounds(sijlt)) {
            Raise(kTag, kCodeReleve);
        }
        m_sij = sij;
        m_sijm = sijm;
        m_sijlm = sijlm;
        m_sijlt = sijlt;
        m_defined = true;
    });
}

void ZuvanFatigueReleveEcho::Table(std::ostream& os, const std::string& label, int kind,
                                   const CZuvanFatigueReleve::Tensor& t) {
    static const char* const kHeaders[] = {
        "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |",
        "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |",
        "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |",
        "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |",
    };
    CZuvanFatigueRapport r(os);
    r.Line(label);
    // One row of six cells of 10, in the default notation with 6 significant
    // digits.
    ZuvanFatigueTable::Table<CZuvanFatigueReleve::Tensor> table;
    table.header = {kHeaders[kind]};
    table.notation = ZuvanFatigueTable::Notation::kDefault;
    table.precision = 6;
    table.lines.emplace_back();
    for (std::size_t c = 0; c < 6; ++c) {
        table.lines[0].push_back({10, [c](const CZuvanFatigueReleve::Tensor& s) {
                                      return ZuvanFatigueTable::Value(s[c]);
                                  }});
    }
    ZuvanFatigueTable::Write(r, table, std::vector<CZuvanFatigueReleve::Tensor>{t});
}

void ZuvanFatigueReleveEcho::Tensors(std::ostream& os, const CZuvanFatigueReleve& record) {
    Table(os, "Sij (MPa)           : ", 0, record.GetSij());
    Table(os, "Sij membrane (MPa)  : ", 1, record.GetSijm());
    Table(os, "Sij lin. meca (MPa) : ", 2, record.GetSijlm());
    Table(os, "Sij lin. ther (MPa) : ", 3, record.GetSijlt());
}

void ZuvanFatigueReleveEcho::Head(std::ostream& os, const CZuvanFatigueReleve& record,
                                  const char* numberLabel, std::size_t width,
                                  const char* underline) {
    CZuvanFatigueRapport r(os);
    r.EmptyLine();
    r.Label(numberLabel, width, record.GetNumber());
    r.Line(underline);
    r.Label("Nom", width, record.GetName());
    r.Label("Pression (MPa)", width, record.GetPressure());
    r.Label("Température (deg)", width, record.GetTemperature());
    Tensors(os, record);
}

void ZuvanFatigueReleveEcho::PointTables(std::ostream& os, char point, const char* distance,
                                         const CZuvanFatigueReleve::PointTensors& p) {
    // "SijA at 0.5*thickness    : ": the names padded to 25 characters.
    static const char* const kNames[4] = {"Sij", "Sijm", "Sijlm", "Sijlt"};
    const CZuvanFatigueReleve::Tensor* const tensors[4] = {&p.sij, &p.sijm, &p.sijlm, &p.sijlt};
    for (int j = 0; j < 4; ++j) {
        std::string label = std::string(kNames[j]) + point + " at " + distance + "*thickness";
        label.resize(25, ' ');
        Table(os, label + ": ", j, *tensors[j]);
    }
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleve& record) {
    static const char kTag[] = "<CZuvanFatigueReleve std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        ZuvanFatigueReleveEcho::Head(os, record, "Numéro du relevé", 20, "++++++++++++++++      ");
        return os;
    });
}
