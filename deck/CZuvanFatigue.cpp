#include "deck/CZuvanFatigue.h"

#include "damage/CZuvanFatigueClause.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/ZuvanFatigueText.h"

CZuvanFatigue::CZuvanFatigue() {}

CZuvanFatigue::CZuvanFatigue(const CZuvanFatigue& other) {
    static const char kTag[] = "<CZuvanFatigue::CZuvanFatigue(&SourceObject)>";
    Guard(kTag, [&] { *this = other; });
}

CZuvanFatigue& CZuvanFatigue::operator=(const CZuvanFatigue& other) {
    static const char kTag[] = "<CZuvanFatigue::operator=>";
    if (this != &other) {
        Guard(kTag, [&] {
            m_components = other.m_components;
            m_welds = other.m_welds;
            m_uwZones = other.m_uwZones;
            m_histories = other.m_histories;
            m_context = other.m_context;
            m_inputFile = other.m_inputFile;
            m_outputDirectory = other.m_outputDirectory;
        });
    }
    return *this;
}

CZuvanFatigue::~CZuvanFatigue() {}

int CZuvanFatigue::SetInputFile(const char* path) {
    static const char kTag[] = "<CZuvanFatigue::SetInputFile>";
    return GuardEntry([&] {
        if (m_in.is_open()) m_in.close();
        m_in.clear();
        m_inputFile = path != nullptr ? path : "";
        if (!ZuvanFatigueCards::OpenDeck(m_in, m_inputFile)) Raise(kTag, kCodeFichierDonnees);
        m_in.imbue(NativeLocale());
    });
}

int CZuvanFatigue::SetContext(const CZuvanFatigueContexte& context) {
    return GuardEntry([&] {
        m_context.Clear();
        m_context = context;
    });
}

int CZuvanFatigue::SetOutputDirectory(const char* path) {
    return GuardEntry([&] { m_outputDirectory = path != nullptr ? path : ""; });
}

CZuvanFatigueComposant CZuvanFatigue::GetComponent(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetComponent>";
    return Guard(kTag, [&]() -> CZuvanFatigueComposant {
        const auto it = m_components.find(name);
        if (it == m_components.end()) Raise(kTag, kCodeComposantAbsent);
        return it->second;
    });
}

CZuvanFatigueUWZone CZuvanFatigue::GetUWZone(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetUWZone>";
    return Guard(kTag, [&]() -> CZuvanFatigueUWZone {
        const auto it = m_uwZones.find(name);
        if (it == m_uwZones.end()) Raise(kTag, kCodeUWZoneAbsente);
        return it->second;
    });
}

CZuvanFatigueCordon CZuvanFatigue::GetWeld(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetWeld>";
    return Guard(kTag, [&]() -> CZuvanFatigueCordon {
        const auto it = m_welds.find(name);
        if (it == m_welds.end()) Raise(kTag, kCodeCordonAbsent);
        return it->second;
    });
}

CZuvanFatigueHistorique CZuvanFatigue::GetHistory(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetHistory>";
    return Guard(kTag, [&]() -> CZuvanFatigueHistorique {
        const auto it = m_histories.find(name);
        if (it == m_histories.end()) Raise(kTag, kCodeHistoriqueAbsent);
        return it->second;
    });
}

int CZuvanFatigue::Read() {
    return GuardEntry([&] { ReadCards(); });
}

namespace {
// Inserts a copy of an object read from the data file under its name; a name
// already there fails with the kind's duplicate code.
template <class T>
void Store(std::map<std::string, T>& map, const T& object, int duplicateCode, const char* tag) {
    if (map.count(object.GetName()) != 0) Raise(tag, duplicateCode);
    map.emplace(object.GetName(), object);
}
}  // namespace

void CZuvanFatigue::AddComponent(const CZuvanFatigueComposant& component) {
    static const char kTag[] = "<CZuvanFatigue::AddComponent>";
    Guard(kTag, [&] { Store(m_components, component, kCodeComposantExiste, kTag); });
}

void CZuvanFatigue::AddUWZone(const CZuvanFatigueUWZone& zone) {
    static const char kTag[] = "<CZuvanFatigue::AddUWZone>";
    Guard(kTag, [&] { Store(m_uwZones, zone, kCodeUWZoneExiste, kTag); });
}

void CZuvanFatigue::AddWeld(const CZuvanFatigueCordon& seam) {
    static const char kTag[] = "<CZuvanFatigue::AddWeld>";
    Guard(kTag, [&] { Store(m_welds, seam, kCodeCordonExiste, kTag); });
}

void CZuvanFatigue::AddHistory(const CZuvanFatigueHistorique& history) {
    static const char kTag[] = "<CZuvanFatigue::AddHistory>";
    Guard(kTag, [&] { Store(m_histories, history, kCodeHistoriqueExiste, kTag); });
}

void CZuvanFatigue::ReadCards() {
    static const char kTag[] = "<CZuvanFatigue::Read>";
    using namespace ZuvanFatigueCards;
    if (!m_in.is_open()) Raise(kTag, kCodeFichierDonnees);
    SkipByteOrderMark(m_in);
    std::string line;
    while (ReadDeckLine(m_in, line)) {
        if (IsCard(line, "*CLASSE")) {
            CZuvanFatigueClasse fatigueClass;
            CZuvanFatigueClasse::Read(CardLine(line), fatigueClass, m_in);
            m_context.AddFatigueClass(fatigueClass);
        } else if (IsCard(line, "*COMPOSANT")) {
            CZuvanFatigueComposant component;
            CZuvanFatigueComposant::Read(CardLine(line), component, m_context, m_in);
            Store(m_components, component, kCodeComposantExiste, kTag);
        } else if (IsCard(line, "*HISTORIQUE")) {
            CZuvanFatigueHistorique history;
            history.Read(m_in, CardLine(line), m_uwZones, m_welds);
            Store(m_histories, history, kCodeHistoriqueExiste, kTag);
        } else if (IsCard(line, "*MATERIAU")) {
            CZuvanFatigueMateriau material;
            CZuvanFatigueMateriau::Read(CardLine(line), material, m_in);
            m_context.AddMaterial(material);
        } else if (IsCard(line, "*UWCOURBE")) {
            CZuvanFatigueUWCourbe curve;
            CZuvanFatigueUWCourbe::Read(CardLine(line), curve, m_in);
            m_context.AddUWCurve(curve);
        } else if (IsCard(line, "*UWZONE")) {
            CZuvanFatigueUWZone zone;
            CZuvanFatigueUWZone::Read(CardLine(line), zone, *this, m_context, m_in);
            Store(m_uwZones, zone, kCodeUWZoneExiste, kTag);
        } else if (IsCard(line, "*CORDON")) {
            CZuvanFatigueCordon seam;
            CZuvanFatigueCordon::Read(CardLine(line), seam, *this, m_context, m_in);
            Store(m_welds, seam, kCodeCordonExiste, kTag);
        } else if (IsCard(line, "*CLASSIFICATION")) {
            CZuvanFatigueClassification detail;
            CZuvanFatigueClassification::Read(CardLine(line), detail, m_context, m_in);
            m_context.AddWeldDetail(detail);
        } else if (IsCard(line, "*DOMMAGE")) {
            // One request serves the whole run: read, carried out at once, cleared.
            CZuvanFatigueClause request;
            request.Clear();
            request.Read(m_in, *this, m_outputDirectory);
            request.SetReportSwitch(CZuvanFatigueClause::kWriteReport);
            request.Damage();
            request.Clear();
        } else if (!IsIgnored(line)) {
            Raise(kTag, kCodeCarteInconnue);
        }
    }
}
