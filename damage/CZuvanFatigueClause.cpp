#include "damage/CZuvanFatigueClause.h"

#include <locale>
#include <memory>
#include <nlohmann/json.hpp>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueResults.h"
#include "damage/ZuvanFatigueWeld.h"
#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "model/CZuvanFatigueMateriau.h"
#include "report/ZuvanFatigueJson.h"
#include "report/ZuvanFatigueOutputFile.h"
#include "report/ZuvanFatigueReport.h"
#include "report/ZuvanFatigueText.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatigueMises.h"
#include "stress/CZuvanFatigueRainFlow.h"
#include "stress/CZuvanFatigueReservoir.h"
#include "stress/CZuvanFatigueTresca.h"

CZuvanFatigueClause::CZuvanFatigueClause() : m_reportSwitch(kComputeOnly) {}

CZuvanFatigueClause::~CZuvanFatigueClause() {}

void CZuvanFatigueClause::Clear() {
    m_study.reset();
    m_history.reset();
    m_counting.reset();
    m_criterion.reset();
    m_fileName.clear();
    m_outputDirectory.clear();
    m_reportSwitch = kComputeOnly;
    m_countingMethod = 0;
    m_criterionCode = 0;
    m_jsonResults = false;
    m_jsonSummary = false;
    m_searchOptions = ZuvanFatigueCriticalPlane::SearchOptions();
    m_provenance = ZuvanFatigueProvenance::Run();
}

void CZuvanFatigueClause::Read(std::istream& in, const CZuvanFatigue& study,
                               const std::string& outputDirectory) {
    static const char kTag[] = "<CZuvanFatigueClause::Read>";
    using namespace ZuvanFatigueCards;
    Guard(kTag, [&] {
        std::string historyName = " ", fileName = " ";
        int counting = 10;
        bool haveHistory = false, haveFile = false, haveMethod = false;
        std::string line;
        for (;;) {
            ReadBlockLine(in, line, kTag);
            if (IsCard(line, "*POINT_HISTORIQUE")) {
                if (haveHistory) Raise(kTag, kCodeMalPlacee);
                haveHistory = true;
                historyName = TextValue(line, kTag);
            } else if (IsCard(line, "*FICHIER_SORTIE")) {
                if (haveFile) Raise(kTag, kCodeMalPlacee);
                haveFile = true;
                fileName = TextValue(line, kTag);
            } else if (IsCard(line, "*RESERVOIR")) {
                if (haveMethod) Raise(kTag, kCodeMalPlacee);
                haveMethod = true;
                counting = kReservoir;
            } else if (IsCard(line, "*RAINFLOW")) {
                if (haveMethod) Raise(kTag, kCodeMalPlacee);
                haveMethod = true;
                counting = kRainFlow;
            } else if (IsCard(line, "*FIN_DOMMAGE")) {
                if (!haveHistory) Raise(kTag, kCodeDommage);
                SetDefinition(study, outputDirectory, fileName, historyName, kTresca, counting);
                return;
            } else if (!IsIgnored(line)) {
                Raise(kTag, kCodeCarteInconnue);
            }
        }
    });
}

void CZuvanFatigueClause::SetDefinition(const CZuvanFatigue& study,
                                        const std::string& outputDirectory,
                                        const std::string& fileName, const std::string& historyName,
                                        int criterion, int countingMethod) {
    static const char kTag[] = "<CZuvanFatigueClause::SetDefinition>";
    try {
        Guard(kTag, [&] {
            m_study.reset();
            m_history.reset();
            m_counting.reset();
            m_criterion.reset();
            m_study.reset(new CZuvanFatigue(study));
            // One copy of the history (GetHistory raises 300 when absent).
            const auto& histories = m_study->Histories();
            const auto history = histories.find(historyName);
            if (history == histories.end()) {
                ZuvanFatigueCards::SetFailureDetail(historyName);
                m_study->GetHistory(historyName);
            }
            m_history.reset(new CZuvanFatigueHistorique(history->second));
            if (countingMethod == kReservoir) {
                m_counting.reset(new CZuvanFatigueReservoir());
            } else if (countingMethod == kRainFlow) {
                m_counting.reset(new CZuvanFatigueRainFlow());
            } else {
                Raise(kTag, kCodeComptage);
            }
            if (criterion == kTresca) {
                m_criterion.reset(new CZuvanFatigueTresca());
            } else if (criterion == kMises) {
                m_criterion.reset(new CZuvanFatigueMises());
            } else {
                Raise(kTag, kCodeCritere);
            }
            m_fileName = fileName;
            m_outputDirectory = outputDirectory;
            m_countingMethod = countingMethod;
            m_criterionCode = criterion;
        });
    } catch (...) {
        m_study.reset();
        m_history.reset();
        m_counting.reset();
        m_criterion.reset();
        throw;
    }
}

double CZuvanFatigueClause::Damage() {
    static const char kTag[] = "<CZuvanFatigueClause::Damage>";
    return Guard(kTag, [&]() -> double {
        if (!m_history || !m_study || !m_counting || !m_criterion) Raise(kTag, kCodeDommage);
        switch (m_history->GetType()) {
            case 20:  // weld seam
                return DamageWeldCriticalPlane();
            case 40:  // weld throat
                return DamageWeldThroat();
            case 30:
                return DamageUWZoneCriticalPlane();
            default:
                Raise(kTag, kCodeHistorique);
        }
    });
}

void CZuvanFatigueClause::Resolve() const {
    static const char kTag[] = "<CZuvanFatigueClause::Resolve>";
    Guard(kTag, [&] {
        if (!m_history || !m_study || !m_counting || !m_criterion) Raise(kTag, kCodeDommage);
        const int type = m_history->GetType();
        if (type != 20 && type != 30 && type != 40) Raise(kTag, kCodeHistorique);
        // The analysis resolves its files first (450, 290), creating nothing.
        // Without an output directory the files' place is not known yet: only
        // their names are checked.
        if (m_outputDirectory.empty()) {
            ZuvanFatigueOutputFile::CheckName(m_fileName, kTag);
            if (m_jsonResults) ZuvanFatigueOutputFile::CheckName(m_fileName + ".jsonl", kTag);
        } else {
            GetFile();
            if (m_jsonResults) GetJsonFile();
        }
        if (m_history->GetRecordCount() < 3) Raise(kTag, kCodePasAssezDeReleves);
        // Each name looked for is named by the failure, where it is missing.
        const auto named = [](const std::string& name, const auto& get) {
            ZuvanFatigueCards::SetFailureDetail(name);
            auto found = get();
            ZuvanFatigueCards::SetFailureDetail(std::string());
            return found;
        };
        const CZuvanFatigue& study = *m_study;
        const std::string& zoneName = m_history->GetZoneName();
        if (type == 30) {
            // As DamageUWZoneCriticalPlane fetches them.
            const CZuvanFatigueUWZone zone =
                named(zoneName, [&] { return study.GetUWZone(zoneName); });
            named(zone.GetCurveName(),
                  [&] { return study.Context().GetUWCurve(zone.GetCurveName()); });
            const CZuvanFatigueComposant component = named(zone.GetComponentName(), [&] {
                return study.GetComponent(zone.GetComponentName());
            });
            const int materialType =
                named(component.GetMaterialName(), [&] {
                    return study.Context().GetMaterial(component.GetMaterialName());
                }).GetType();
            if (materialType != CZuvanFatigueMateriau::kTypeFerritique &&
                materialType != CZuvanFatigueMateriau::kTypeAustenitique) {
                Raise(kTag, kCodeEndommagement);
            }
        } else {
            // In the order of ZuvanFatigueWeld::Fetch, which checks the rest.
            const CZuvanFatigueCordon seam =
                named(zoneName, [&] { return study.GetWeld(zoneName); });
            const std::string& detailName = seam.GetClassificationName();
            const CZuvanFatigueClassification detail =
                named(detailName, [&] { return study.Context().GetWeldDetail(detailName); });
            named(detail.GetClassName(),
                  [&] { return study.Context().GetClass(detail.GetClassName()); });
            for (const std::string* name :
                 {&seam.GetFirstComponentName(), &seam.GetSecondComponentName()}) {
                const CZuvanFatigueComposant component =
                    named(*name, [&] { return study.GetComponent(*name); });
                named(component.GetMaterialName(),
                      [&] { return study.Context().GetMaterial(component.GetMaterialName()); });
            }
            ZuvanFatigueWeld::Fetch(study, zoneName, kTag);
        }
    });
}

const char* CZuvanFatigueClause::AnalysisKind() const {
    if (!m_history) return "";
    switch (m_history->GetType()) {
        case 20:
            return "seam";
        case 40:
            return "throat";
        case 30:
            return "uwzone";
        default:
            return "";
    }
}

std::unique_ptr<ZuvanFatigueOutputFile> CZuvanFatigueClause::GetFile() const {
    static const char kTag[] = "<CZuvanFatigueClause::GetFile>";
    return Guard(kTag, [&] {
        return std::make_unique<ZuvanFatigueOutputFile>(m_outputDirectory, m_fileName, kTag);
    });
}

std::unique_ptr<ZuvanFatigueOutputFile> CZuvanFatigueClause::GetJsonFile() const {
    static const char kTag[] = "<CZuvanFatigueClause::GetJsonFile>";
    return Guard(kTag, [&] {
        return std::make_unique<ZuvanFatigueOutputFile>(m_outputDirectory, m_fileName + ".jsonl",
                                                        kTag);
    });
}

template <class Result>
double CZuvanFatigueClause::Assess(const char* tag,
                                   void (CZuvanFatigueClause::*compute)(Result&) const,
                                   const char* analysis) {
    return Guard(tag, [&]() -> double {
        // Both files are resolved before anything is computed or written.
        const bool write = m_reportSwitch == kWriteReport;
        ZuvanFatigueAnalysis::ReportStream report(write ? GetFile() : nullptr, NativeLocale());
        const std::unique_ptr<ZuvanFatigueOutputFile> json =
            write && m_jsonResults ? GetJsonFile() : nullptr;
        Result result;
        try {
            (this->*compute)(result);
        } catch (...) {
            // A request that fails in its analysis keeps its report as far as
            // the analysis got; the failure goes on, whether or not that
            // report could be appended (a report that cannot be is left out
            // whole, the file as it was).
            if (write) {
                ZuvanFatigueReport::Write(report.Stream(), result);
                try {
                    report.Finish(tag);
                } catch (const CExceptionZuvanFatigue&) {
                }
            }
            throw;
        }
        if (write) ZuvanFatigueReport::Write(report.Stream(), result);
        report.Finish(tag);
        if (json) {
            using ZuvanFatigueJson::Content;
            const Content content = m_jsonSummary ? Content::kSummary : Content::kFull;
            AppendJson(*json, tag, analysis, ZuvanFatigueJson::Result(result, content));
        }
        return result.total;
    });
}

template double CZuvanFatigueClause::Assess(
    const char*, void (CZuvanFatigueClause::*)(ZuvanFatigueResults::UWZoneResult&) const,
    const char*);
template double CZuvanFatigueClause::Assess(
    const char*, void (CZuvanFatigueClause::*)(ZuvanFatigueResults::WeldResult&) const,
    const char*);
template double CZuvanFatigueClause::Assess(
    const char*, void (CZuvanFatigueClause::*)(ZuvanFatigueResults::ThroatResult&) const,
    const char*);

void CZuvanFatigueClause::AppendJson(ZuvanFatigueOutputFile& file, const char* tag,
                                     const char* analysis,
                                     const nlohmann::ordered_json& result) const {
    ZuvanFatigueJson::Request request;
    request.history = m_history->GetName();
    request.zone = m_history->GetZoneName();
    request.reportFile = m_fileName;
    request.countingMethod = m_countingMethod == kReservoir ? "reservoir" : "rainflow";
    request.criterion = m_criterionCode == kMises ? "mises" : "tresca";
    file.Append(ZuvanFatigueJson::Line(request, analysis, result, m_provenance), tag);
}
