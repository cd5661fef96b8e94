#include "stress/CZuvanFatigueReleveQuad.h"

#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/CZuvanFatigueRapport.h"

namespace {
// Quadratic (Lagrange) extrapolation to distance zero from 0.4, 0.9 and 1.4
// times the thickness.
CZuvanFatigueReleve::Tensor Extrapolate(const CZuvanFatigueReleve::Tensor& a,
                                        const CZuvanFatigueReleve::Tensor& b,
                                        const CZuvanFatigueReleve::Tensor& c) {
    CZuvanFatigueReleve::Tensor t;
    for (std::size_t k = 0; k < t.size(); ++k) t[k] = 2.52 * a[k] - 2.24 * b[k] + 0.72 * c[k];
    return t;
}
}  // namespace

CZuvanFatigueReleveQuad::CZuvanFatigueReleveQuad()
    : m_a(UnsetPoint()), m_b(UnsetPoint()), m_c(UnsetPoint()) {}

CZuvanFatigueReleveQuad::CZuvanFatigueReleveQuad(const CZuvanFatigueReleveQuad& other) = default;

CZuvanFatigueReleveQuad& CZuvanFatigueReleveQuad::operator=(const CZuvanFatigueReleveQuad& other) {
    static const char kTag[] = "<CZuvanFatigueReleveQuad::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            CZuvanFatigueReleve::operator=(other);
            m_a = other.m_a;
            m_b = other.m_b;
            m_c = other.m_c;
        });
    }
    return *this;
}

CZuvanFatigueReleveQuad::~CZuvanFatigueReleveQuad() = default;

void CZuvanFatigueReleveQuad::Read(std::istream& in, const std::string& cardLine, int number) {
    static const char kTag[] = "<CZuvanFatigueReleveQuad::Read>";
    Guard(kTag, [&] {
        const std::string name = ZuvanFatigueCards::HeaderName(cardLine);
        double pressure = std::numeric_limits<double>::lowest();
        double temperature = pressure;
        PointTensors a = UnsetPoint(), b = UnsetPoint(), c = UnsetPoint();
        TensorCard cards[] = {
            {"*SIJA", &a.sij, false},     {"*SIJMA", &a.sijm, false},
            {"*SIJLMA", &a.sijlm, false}, {"*SIJLTA", &a.sijlt, false},
            {"*SIJB", &b.sij, false},     {"*SIJMB", &b.sijm, false},
            {"*SIJLMB", &b.sijlm, false}, {"*SIJLTB", &b.sijlt, false},
            {"*SIJC", &c.sij, false},     {"*SIJMC", &c.sijm, false},
            {"*SIJLMC", &c.sijlm, false}, {"*SIJLTC", &c.sijlt, false},
        };
        ReadBlock(in, kTag, "*FIN_RELEVEQUAD", cards, 12, pressure, temperature);
        SetDefinition(name, number, pressure, temperature, a.sij, a.sijm, a.sijlm, a.sijlt, b.sij,
                      b.sijm, b.sijlm, b.sijlt, c.sij, c.sijm, c.sijlm, c.sijlt);
    });
}

void CZuvanFatigueReleveQuad::SetDefinition(
    std::string name, int number, double pressureMPa, double temperatureC, const Tensor& sijA,
    const Tensor& sijmA, const Tensor& sijlmA, const Tensor& sijltA, const Tensor& sijB,
    const Tensor& sijmB, const Tensor& sijlmB, const Tensor& sijltB, const Tensor& sijC,
    const Tensor& sijmC, const Tensor& sijlmC, const Tensor& sijltC) {
    static const char kTag[] = "<CZuvanFatigueReleveQuad::SetDefinition>";
    Guard(kTag, [&] {
        ClearDefined();
        const PointTensors a = {sijA, sijmA, sijlmA, sijltA};
        const PointTensors b = {sijB, sijmB, sijlmB, sijltB};
        const PointTensors c = {sijC, sijmC, sijlmC, sijltC};
        if (!InBounds(a) || !InBounds(b) || !InBounds(c)) Raise(kTag, kCodeReleve);
        CZuvanFatigueReleve::SetDefinition(
            std::move(name), number, pressureMPa, temperatureC, Extrapolate(a.sij, b.sij, c.sij),
            Extrapolate(a.sijm, b.sijm, c.sijm), Extrapolate(a.sijlm, b.sijlm, c.sijlm),
            Extrapolate(a.sijlt, b.sijlt, c.sijlt));
        m_a = a;
        m_b = b;
        m_c = c;
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleveQuad& record) {
    static const char kTag[] = "<CZuvanFatigueReleveQuad std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        using ZuvanFatigueReleveEcho::Table;
        constexpr std::size_t kWidth = 28;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Relevé quadratique numéro", kWidth, record.GetNumber());
        r.Line("+++++++++++++++++++++++++++++ ");
        r.Label("Nom", kWidth, record.GetName());
        r.Label("Pression (MPa)", kWidth, record.GetPressure());
        r.Label("Température (deg)", kWidth, record.GetTemperature());
        ZuvanFatigueReleveEcho::Tensors(os, record);
        const CZuvanFatigueReleve::PointTensors& a = record.GetA();
        const CZuvanFatigueReleve::PointTensors& b = record.GetB();
        const CZuvanFatigueReleve::PointTensors& c = record.GetC();
        Table(os, "SijA at 0.4*thickness    : ", 0, a.sij);
        Table(os, "SijmA at 0.4*thickness   : ", 1, a.sijm);
        Table(os, "SijlmA at 0.4*thickness  : ", 2, a.sijlm);
        Table(os, "SijltA at 0.4*thickness  : ", 3, a.sijlt);
        Table(os, "SijB at 0.9*thickness    : ", 0, b.sij);
        Table(os, "SijmB at 0.9*thickness   : ", 1, b.sijm);
        Table(os, "SijlmB at 0.9*thickness  : ", 2, b.sijlm);
        Table(os, "SijltB at 0.9*thickness  : ", 3, b.sijlt);
        Table(os, "SijC at 1.4*thickness    : ", 0, c.sij);
        Table(os, "SijmC at 1.4*thickness   : ", 1, c.sijm);
        Table(os, "SijlmC at 1.4*thickness  : ", 2, c.sijlm);
        Table(os, "SijltC at 1.4*thickness  : ", 3, c.sijlt);
        return os;
    });
}
