#include "deck/CZuvanFatigue.h"

#include "damage/CZuvanFatigueClause.h"
#include "deck/ZuvanFatigueCards.h"
#include "deck/ZuvanFatigueNamedMaps.h"
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
    return ZuvanFatigueNamedMaps::Get(m_components, name, kCodeComposantAbsent, kTag);
}

CZuvanFatigueUWZone CZuvanFatigue::GetUWZone(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetUWZone>";
    return ZuvanFatigueNamedMaps::Get(m_uwZones, name, kCodeUWZoneAbsente, kTag);
}

CZuvanFatigueCordon CZuvanFatigue::GetWeld(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetWeld>";
    return ZuvanFatigueNamedMaps::Get(m_welds, name, kCodeCordonAbsent, kTag);
}

CZuvanFatigueHistorique CZuvanFatigue::GetHistory(std::string name) const {
    static const char kTag[] = "<CZuvanFatigue::GetHistory>";
    return ZuvanFatigueNamedMaps::Get(m_histories, name, kCodeHistoriqueAbsent, kTag);
}

int CZuvanFatigue::Read() {
    return GuardEntry([&] { ReadCards(); });
}

void CZuvanFatigue::AddComponent(const CZuvanFatigueComposant& component) {
    static const char kTag[] = "<CZuvanFatigue::AddComponent>";
    ZuvanFatigueNamedMaps::Add(m_components, component, kCodeComposantExiste, kTag);
}

void CZuvanFatigue::AddUWZone(const CZuvanFatigueUWZone& zone) {
    static const char kTag[] = "<CZuvanFatigue::AddUWZone>";
    ZuvanFatigueNamedMaps::Add(m_uwZones, zone, kCodeUWZoneExiste, kTag);
}

void CZuvanFatigue::AddWeld(const CZuvanFatigueCordon& seam) {
    static const char kTag[] = "<CZuvanFatigue::AddWeld>";
    ZuvanFatigueNamedMaps::Add(m_welds, seam, kCodeCordonExiste, kTag);
}

void CZuvanFatigue::AddHistory(const CZuvanFatigueHistorique& history) {
    static const char kTag[] = "<CZuvanFatigue::AddHistory>";
    ZuvanFatigueNamedMaps::Add(m_histories, history, kCodeHistoriqueExiste, kTag);
}

void CZuvanFatigue::ReadCards() {
    static const char kTag[] = "<CZuvanFatigue::Read>";
    using namespace ZuvanFatigueCards;
    if (!m_in.is_open()) Raise(kTag, kCodeFichierDonnees);
    SkipByteOrderMark(m_in);
    // One request serves the whole run: read, carried out at once, cleared.
    CZuvanFatigueClause request;
    std::string line;
    while (ReadDeckLine(m_in, line)) {
        // The context cards (*CLASSE, *MATERIAU, *UWCOURBE, *CLASSIFICATION) go
        // to the study's own library; no keyword of one group begins one of the
        // other, so testing them first changes nothing.
        if (m_context.ReadCard(line, m_in)) continue;
        if (IsCard(line, "*COMPOSANT")) {
            CZuvanFatigueComposant component;
            CZuvanFatigueComposant::Read(CardLine(line), component, m_context, m_in);
            AddComponent(component);
        } else if (IsCard(line, "*HISTORIQUE")) {
            CZuvanFatigueHistorique history;
            history.Read(m_in, CardLine(line), m_uwZones, m_welds);
            AddHistory(history);
        } else if (IsCard(line, "*UWZONE")) {
            CZuvanFatigueUWZone zone;
            CZuvanFatigueUWZone::Read(CardLine(line), zone, *this, m_context, m_in);
            AddUWZone(zone);
        } else if (IsCard(line, "*CORDON")) {
            CZuvanFatigueCordon seam;
            CZuvanFatigueCordon::Read(CardLine(line), seam, *this, m_context, m_in);
            AddWeld(seam);
        } else if (IsCard(line, "*DOMMAGE")) {
            request.Clear();
            request.Read(m_in, *this, m_outputDirectory);
            request.SetReportSwitch(CZuvanFatigueClause::kWriteReport);
            request.SetJsonResults(m_jsonResults);
            request.SetSearchOptions(m_searchOptions);
            request.Damage();
            request.Clear();
        } else if (!IsIgnored(line)) {
            Raise(kTag, kCodeCarteInconnue);
        }
    }
}
