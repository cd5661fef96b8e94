#include "deck/CZuvanFatigue.h"

#include <memory>

#include "damage/CZuvanFatigueClause.h"
#include "deck/ZuvanFatigueCards.h"
#include "deck/ZuvanFatigueDeckSplit.h"
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
        ZuvanFatigueCards::StartDeck(m_inputFile);
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
    static const char kTag[] = "<CZuvanFatigue::Read>";
    return GuardEntry([&] {
        if (!m_in.is_open()) Raise(kTag, kCodeFichierDonnees);
        ReadCards(m_in);
    });
}

int CZuvanFatigue::ReadDefinitions(std::istream& in) {
    return GuardEntry([&] {
        m_plan = RequestPlan();
        m_plan.resolveOnly = true;
        ReadCards(in);
    });
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

std::string CZuvanFatigue::ReadHistory(std::istream& in, const std::string& line) {
    using namespace ZuvanFatigueCards;
    const std::string cardLine = CardLine(line);
    // A history is read where it is kept, its records never copied: under
    // the name of its header card, which is the name its reader takes.
    const std::string name = HeaderName(cardLine);
    if (m_histories.count(name) == 0) {
        const auto at = m_histories.emplace(name, CZuvanFatigueHistorique()).first;
        try {
            at->second.Read(in, cardLine, m_uwZones, m_welds);
        } catch (...) {
            m_histories.erase(at);
            throw;
        }
        if (at->second.GetName() == name) return name;
        // Kept under the name it took after all.
        const CZuvanFatigueHistorique history = at->second;
        m_histories.erase(at);
        AddHistory(history);
        return history.GetName();
    }
    CZuvanFatigueHistorique history;
    history.Read(in, cardLine, m_uwZones, m_welds);
    AddHistory(history);  // 280: the whole block has been echoed first
    return history.GetName();
}

void CZuvanFatigue::ReadCards(std::istream& in) {
    static const char kTag[] = "<CZuvanFatigue::Read>";
    using namespace ZuvanFatigueCards;
    using Kind = ZuvanFatigueDeckSplit::Kind;
    StartDeck(m_inputFile);
    SkipByteOrderMark(in);
    // The blocks' places in the file, when each request gets its own deck.
    std::unique_ptr<ZuvanFatigueDeckSplit> split;
    if (!m_plan.splitDirectory.empty()) {
        split.reset(new ZuvanFatigueDeckSplit(m_inputFile, m_plan.splitDirectory));
        split->Start();
    }
    const auto offset = [&]() -> long long {
        return split ? static_cast<long long>(in.tellg()) : 0;
    };
    m_requestCount = 0;
    // One request serves the whole run: read, carried out at once, cleared.
    CZuvanFatigueClause request;
    std::string line;
    for (;;) {
        const long long begin = offset();
        if (!ReadDeckLine(in, line)) break;
        // The context cards (*CLASSE, *MATERIAU, *UWCOURBE, *CLASSIFICATION) go
        // to the study's own library; no keyword of one group begins one of the
        // other, so testing them first changes nothing.
        if (m_context.ReadCard(line, in)) {
            if (split) split->Block(Kind::kContext, std::string(), begin, offset());
        } else if (IsCard(line, "*COMPOSANT")) {
            CZuvanFatigueComposant component;
            CZuvanFatigueComposant::Read(CardLine(line), component, m_context, in);
            AddComponent(component);
            if (split) split->Block(Kind::kComponent, component.GetName(), begin, offset());
        } else if (IsCard(line, "*HISTORIQUE")) {
            const std::string name = ReadHistory(in, line);
            if (split) split->Block(Kind::kHistory, name, begin, offset());
        } else if (IsCard(line, "*UWZONE")) {
            CZuvanFatigueUWZone zone;
            CZuvanFatigueUWZone::Read(CardLine(line), zone, *this, m_context, in);
            AddUWZone(zone);
            if (split) split->Block(Kind::kUWZone, zone.GetName(), begin, offset());
        } else if (IsCard(line, "*CORDON")) {
            CZuvanFatigueCordon seam;
            CZuvanFatigueCordon::Read(CardLine(line), seam, *this, m_context, in);
            AddWeld(seam);
            if (split) split->Block(Kind::kWeld, seam.GetName(), begin, offset());
        } else if (IsCard(line, "*DOMMAGE")) {
            const int index = ++m_requestCount;
            request.Clear();
            request.Read(in, *this, m_outputDirectory);
            if (split) split->Block(Kind::kRequest, std::string(), begin, offset());
            if (m_plan.resolveOnly) {
                request.SetJsonResults(m_jsonResults);
                request.SetJsonSummary(m_jsonSummary);
                request.Resolve();
            } else if (m_plan.only == 0 || m_plan.only == index) {
                // The echo so far is on the console before the analysis starts.
                Console().flush();
                request.SetReportSwitch(CZuvanFatigueClause::kWriteReport);
                request.SetJsonResults(m_jsonResults);
                request.SetJsonSummary(m_jsonSummary);
                request.SetSearchOptions(m_searchOptions);
                request.SetProvenance(m_provenance);
                request.Damage();
            }
            if (split) split->WriteRequest(index, *this, request);
            if (m_plan.defined) m_plan.defined(index, request);
            request.Clear();
        } else if (!IsIgnored(line)) {
            Raise(kTag, kCodeCarteInconnue);
        } else if (split) {
            split->Ignored(begin);
        }
    }
}
