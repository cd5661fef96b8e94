#include "stress/CZuvanFatigueReleveLin.h"

#include <limits>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"

namespace {
// Linear extrapolation to distance zero from 0.5 and 1.5 times the thickness.
CZuvanFatigueReleve::Tensor Extrapolate(const CZuvanFatigueReleve::Tensor& a,
                                        const CZuvanFatigueReleve::Tensor& b) {
    CZuvanFatigueReleve::Tensor t;
    for (std::size_t k = 0; k < t.size(); ++k) t[k] = 1.5 * a[k] - 0.5 * b[k];
    return t;
}
}  // namespace

CZuvanFatigueReleveLin::CZuvanFatigueReleveLin() : m_a(UnsetPoint()), m_b(UnsetPoint()) {}

CZuvanFatigueReleveLin::CZuvanFatigueReleveLin(const CZuvanFatigueReleveLin& other) = default;

CZuvanFatigueReleveLin& CZuvanFatigueReleveLin::operator=(const CZuvanFatigueReleveLin& other) {
    static const char kTag[] = "<CZuvanFatigueReleveLin::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            CZuvanFatigueReleve::operator=(other);
            m_a = other.m_a;
            m_b = other.m_b;
        });
    }
    return *this;
}

CZuvanFatigueReleveLin::~CZuvanFatigueReleveLin() = default;

void CZuvanFatigueReleveLin::Read(std::istream& in, const std::string& cardLine, int number) {
    static const char kTag[] = "<CZuvanFatigueReleveLin::Read>";
    Guard(kTag, [&] {
        const std::string name = ZuvanFatigueCards::HeaderName(cardLine);
        double pressure = std::numeric_limits<double>::lowest();
        double temperature = pressure;
        PointTensors a = UnsetPoint(), b = UnsetPoint();
        TensorCard cards[8];
        PointCards(0, a, cards);
        PointCards(1, b, cards + 4);
        ReadBlock(in, kTag, "*FIN_RELEVELIN", cards, 8, pressure, temperature);
        SetDefinition(name, number, pressure, temperature, a.sij, a.sijm, a.sijlm, a.sijlt, b.sij,
                      b.sijm, b.sijlm, b.sijlt);
    });
}

void CZuvanFatigueReleveLin::SetDefinition(std::string name, int number, double pressureMPa,
                                           double temperatureC, const Tensor& sijA,
                                           const Tensor& sijmA, const Tensor& sijlmA,
                                           const Tensor& sijltA, const Tensor& sijB,
                                           const Tensor& sijmB, const Tensor& sijlmB,
                                           const Tensor& sijltB) {
    static const char kTag[] = "<CZuvanFatigueReleveLin::SetDefinition>";
    Guard(kTag, [&] {
        ClearDefined();
        const PointTensors a = {sijA, sijmA, sijlmA, sijltA};
        const PointTensors b = {sijB, sijmB, sijlmB, sijltB};
        if (!InBounds(a) || !InBounds(b)) Raise(kTag, kCodeReleve);
        CZuvanFatigueReleve::SetDefinition(std::move(name), number, pressureMPa, temperatureC,
                                           Extrapolate(a.sij, b.sij), Extrapolate(a.sijm, b.sijm),
                                           Extrapolate(a.sijlm, b.sijlm),
                                           Extrapolate(a.sijlt, b.sijlt));
        m_a = a;
        m_b = b;
    });
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueReleveLin& record) {
    static const char kTag[] = "<CZuvanFatigueReleveLin std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        ZuvanFatigueReleveEcho::Head(os, record, "Relevé linéaire numéro", 25,
                                     "++++++++++++++++++++++++++ ");
        ZuvanFatigueReleveEcho::PointTables(os, 'A', "0.5", record.GetA());
        ZuvanFatigueReleveEcho::PointTables(os, 'B', "1.5", record.GetB());
        return os;
    });
}
