#include "stress/CZuvanFatigueReleveQuad.h"

#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"

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
        TensorCard cards[12];
        PointCards(0, a, cards);
        PointCards(1, b, cards + 4);
        PointCards(2, c, cards + 8);
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
        ZuvanFatigueReleveEcho::Head(os, record, "Relevé quadratique numéro", 28,
                                     "+++++++++++++++++++++++++++++ ");
        ZuvanFatigueReleveEcho::PointTables(os, 'A', "0.4", record.GetA());
        ZuvanFatigueReleveEcho::PointTables(os, 'B', "0.9", record.GetB());
        ZuvanFatigueReleveEcho::PointTables(os, 'C', "1.4", record.GetC());
        return os;
    });
}
