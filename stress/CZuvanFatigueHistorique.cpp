#include "stress/CZuvanFatigueHistorique.h"

#include <typeinfo>

#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueCordon.h"
#include "model/CZuvanFatigueUWZone.h"
#include "report/CZuvanFatigueRapport.h"
#include "stress/CZuvanFatigueReleveLin.h"
#include "stress/CZuvanFatigueReleveQuad.h"

namespace {

// The record as the class of its kind code; code 210 when it is not of that class.
template <class T>
const T& As(const CZuvanFatigueReleve* record, const char* tag) {
    if (record == nullptr || typeid(*record) != typeid(T)) Raise(tag, kCodeInterne);
    return static_cast<const T&>(*record);
}

std::unique_ptr<CZuvanFatigueReleve> CopyOf(const CZuvanFatigueHistorique::Record& entry,
                                            const char* tag) {
    const CZuvanFatigueReleve* record = entry.second.get();
    switch (entry.first) {
        case CZuvanFatigueHistorique::kKindReleve:
            return std::make_unique<CZuvanFatigueReleve>(As<CZuvanFatigueReleve>(record, tag));
        case CZuvanFatigueHistorique::kKindReleveLin:
            return std::make_unique<CZuvanFatigueReleveLin>(
                As<CZuvanFatigueReleveLin>(record, tag));
        case CZuvanFatigueHistorique::kKindReleveQuad:
            return std::make_unique<CZuvanFatigueReleveQuad>(
                As<CZuvanFatigueReleveQuad>(record, tag));
        default:
            Raise(tag, kCodeInterne);
    }
}

CZuvanFatigueHistorique::Records CopyOf(const CZuvanFatigueHistorique::Records& records,
                                        const char* tag) {
    CZuvanFatigueHistorique::Records copy;
    for (const auto& entry : records) {
        copy.emplace(entry.first, CZuvanFatigueHistorique::Record(entry.second.first,
                                                                  CopyOf(entry.second, tag)));
    }
    return copy;
}

}  // namespace

CZuvanFatigueHistorique::CZuvanFatigueHistorique()
    : m_defined(false), m_name(" "), m_zoneName(" "), m_type(kTypeInconnu) {}

CZuvanFatigueHistorique::CZuvanFatigueHistorique(const CZuvanFatigueHistorique& other)
    : CZuvanFatigueHistorique() {
    static const char kTag[] = "<CZuvanFatigueHistorique::CZuvanFatigueHistorique(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigueHistorique& CZuvanFatigueHistorique::operator=(const CZuvanFatigueHistorique& other) {
    static const char kTag[] = "<CZuvanFatigueHistorique::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            // Copy first: a failure leaves this history as it was.
            Records records = CopyOf(other.m_records, kTag);
            std::string name = other.m_name, zoneName = other.m_zoneName;
            m_defined = other.m_defined;
            m_name.swap(name);
            m_zoneName.swap(zoneName);
            m_type = other.m_type;
            m_records.swap(records);
        });
    }
    return *this;
}

CZuvanFatigueHistorique::~CZuvanFatigueHistorique() = default;

void CZuvanFatigueHistorique::Read(std::istream& in, const std::string& cardLine,
                                   const UWZones& uwZones, const Welds& welds) {
    static const char kTag[] = "<CZuvanFatigueHistorique::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        const std::string name = HeaderName(cardLine);
        int type = kTypeInconnu;
        std::string zoneName = " ";
        bool haveZone = false;
        Records records;
        int counter = 0;
        const auto zoneCard = [&](const std::string& line, int zoneType) {
            OnceOnly(haveZone, kTag);
            type = zoneType;
            zoneName = TextValue(line, kTag);
        };
        const auto record = [&](const std::string& line, int kind,
                                std::unique_ptr<CZuvanFatigueReleve> r) {
            r->Read(in, CardLine(line), counter);
            records.emplace(counter, Record(kind, std::move(r)));
            ++counter;
        };
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*HISTORIQUE_UWZONE")) {
                zoneCard(line, kTypeUWZone);
            } else if (IsCard(line, "*HISTORIQUE_CORDON")) {
                zoneCard(line, kTypeCordon);
            } else if (IsCard(line, "*HISTORIQUE_GORGE")) {
                zoneCard(line, kTypeGorge);
            } else if (IsCardWord(line, "*RELEVE")) {
                record(line, kKindReleve, std::make_unique<CZuvanFatigueReleve>());
            } else if (IsCard(line, "*RELEVELIN")) {
                record(line, kKindReleveLin, std::make_unique<CZuvanFatigueReleveLin>());
            } else if (IsCard(line, "*RELEVEQUAD")) {
                record(line, kKindReleveQuad, std::make_unique<CZuvanFatigueReleveQuad>());
            } else if (IsCard(line, "*FIN_HISTORIQUE")) {
                if (!haveZone || counter < kMinRecords) Raise(kTag, kCodeHistorique);
                SetDefinition(records, uwZones, welds, name, zoneName, type);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueHistorique::SetDefinition(const Records& records, const UWZones& uwZones,
                                            const Welds& welds, std::string name,
                                            std::string zoneName, int type) {
    static const char kTag[] = "<CZuvanFatigueHistorique::SetDefinition>";
    Guard(kTag, [&] {
        m_defined = false;
        bool found = false;
        if (type == kTypeUWZone) {
            found = uwZones.count(zoneName) != 0;
        } else if (type == kTypeCordon || type == kTypeGorge) {
            found = welds.count(zoneName) != 0;
        }
        if (!found && (type == kTypeUWZone || type == kTypeCordon || type == kTypeGorge)) {
            ZuvanFatigueCards::SetFailureDetail(
                zoneName, type == kTypeUWZone ? "zone sans soudure absente des données :"
                                              : "cordon absent des données :");
        }
        if (name == " " || !found) Raise(kTag, kCodeHistorique);
        Records copy = CopyOf(records, kTag);
        m_name = std::move(name);
        m_zoneName = std::move(zoneName);
        m_type = type;
        m_records.swap(copy);
        m_defined = true;
    });
}

const CZuvanFatigueReleve& CZuvanFatigueHistorique::GetRecord(int number) const {
    static const char kTag[] = "<CZuvanFatigueHistorique::GetRecord>";
    const auto it = m_records.find(number);
    if (it == m_records.end() || !it->second.second) Raise(kTag, kCodeInterne);
    return *it->second.second;
}

int CZuvanFatigueHistorique::GetRecordKind(int number) const {
    static const char kTag[] = "<CZuvanFatigueHistorique::GetRecordKind>";
    const auto it = m_records.find(number);
    if (it == m_records.end()) Raise(kTag, kCodeInterne);
    return it->second.first;
}

std::ostream& operator<<(std::ostream& os, const CZuvanFatigueHistorique& history) {
    static const char kTag[] = "<CZuvanFatigueHistorique std::ofstream operator<<>";
    return Guard(kTag, [&]() -> std::ostream& {
        constexpr std::size_t kWidth = 45;
        CZuvanFatigueRapport r(os);
        r.EmptyLine();
        r.Label("Nom de l'historique de contraintes", kWidth, history.GetName());
        r.Label("Nom de la zone (cordon, UW , gorge) associée", kWidth, history.GetZoneName());
        r.Label("Type de l'historique", kWidth, history.GetType());
        r.Line("                                               10-->inconnu");
        r.Line("                                               20-->pour une zone soudée");
        r.Line("                                               30-->pour une zone non soudée");
        r.Line("                                               40-->pour une gorge de cordon");
        r.Label("Nombre de relevés de contraintes stockés", kWidth, history.GetRecordCount());
        r.EmptyLine();
        for (const auto& entry : history.GetRecords()) {
            const CZuvanFatigueReleve* record = entry.second.second.get();
            switch (entry.second.first) {
                case CZuvanFatigueHistorique::kKindReleve:
                    os << As<CZuvanFatigueReleve>(record, kTag);
                    break;
                case CZuvanFatigueHistorique::kKindReleveLin:
                    os << As<CZuvanFatigueReleveLin>(record, kTag);
                    break;
                case CZuvanFatigueHistorique::kKindReleveQuad:
                    os << As<CZuvanFatigueReleveQuad>(record, kTag);
                    break;
                default:
                    Raise(kTag, kCodeInterne);
            }
            r.EmptyLine();
        }
        r.EmptyLine();
        return os;
    });
}
