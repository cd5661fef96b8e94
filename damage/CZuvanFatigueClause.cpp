#include "damage/CZuvanFatigueClause.h"

#include <boost/filesystem.hpp>
#include <locale>
#include <nlohmann/json.hpp>

#include "damage/ZuvanFatigueAnalysis.h"
#include "damage/ZuvanFatigueResults.h"
#include "deck/CZuvanFatigue.h"
#include "deck/ZuvanFatigueCards.h"
#include "driver/CExceptionZuvanFatigue.h"
#include "report/ZuvanFatigueJson.h"
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
    m_searchOptions = ZuvanFatigueCriticalPlane::SearchOptions();
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
            m_history.reset(new CZuvanFatigueHistorique(m_study->GetHistory(historyName)));
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

std::string CZuvanFatigueClause::ReportPath(const std::string& outputDirectory,
                                            const std::string& fileName) {
    static const char kTag[] = "<CZuvanFatigueClause::ReportPath>";
    namespace fs = boost::filesystem;
    return Guard(kTag, [&]() -> std::string {
        // No name, or a name of blanks only (no *FICHIER_SORTIE card): no report file.
        if (fileName.find_first_not_of(' ') == std::string::npos) {
            Raise(kTag, kCodeFichierResultats);
        }
        // A deck may come from anywhere: its name never reaches a file outside
        // the output directory.
        const fs::path name(fileName);
        if (name.has_root_directory() || name.has_root_name()) Raise(kTag, kCodeFichierResultats);
        for (const fs::path& part : name) {
            if (part == "..") Raise(kTag, kCodeFichierResultats);
        }
        fs::path path;
        if (!outputDirectory.empty()) {
            boost::system::error_code ec;
            const fs::file_status st = fs::status(outputDirectory, ec);
            if (ec || !fs::exists(st)) Raise(kTag, kCodeRepertoireSortie);
            path = outputDirectory;
        }
        path /= name;
        return path.string();
    });
}

namespace {

// Opens a result file for appending, in locale; 290 when it cannot be opened.
std::unique_ptr<std::ofstream> OpenForAppend(const std::string& path, const std::locale& locale,
                                             const char* tag) {
    std::unique_ptr<std::ofstream> os(new std::ofstream());
    os->imbue(locale);
    // Appending never truncates an existing file; a missing file is created.
    os->open(path.c_str(), std::ios::out | std::ios::app | std::ios::binary);
    if (!os->good()) Raise(tag, kCodeFichierResultats);
    return os;
}

}  // namespace

std::unique_ptr<std::ofstream> CZuvanFatigueClause::GetFile() const {
    static const char kTag[] = "<CZuvanFatigueClause::GetFile>";
    return Guard(kTag, [&]() -> std::unique_ptr<std::ofstream> {
        return OpenForAppend(ReportPath(m_outputDirectory, m_fileName), NativeLocale(), kTag);
    });
}

template <class Result>
double CZuvanFatigueClause::Assess(const char* tag,
                                   void (CZuvanFatigueClause::*compute)(Result&) const,
                                   const char* analysis) {
    return Guard(tag, [&]() -> double {
        const bool write = m_reportSwitch == kWriteReport;
        ZuvanFatigueAnalysis::ReportStream report(write ? GetFile() : nullptr);
        Result result;
        try {
            (this->*compute)(result);
        } catch (...) {
            // A request that fails in its analysis keeps its report as far as
            // the analysis got; the failure goes on.
            if (write) ZuvanFatigueReport::Write(report.Stream(), result);
            throw;
        }
        if (write) ZuvanFatigueReport::Write(report.Stream(), result);
        report.Finish(tag);
        if (write && m_jsonResults) AppendJson(tag, analysis, ZuvanFatigueJson::Result(result));
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

void CZuvanFatigueClause::AppendJson(const char* tag, const char* analysis,
                                     const nlohmann::ordered_json& result) const {
    ZuvanFatigueJson::Request request;
    request.history = m_history->GetName();
    request.zone = m_history->GetZoneName();
    request.reportFile = m_fileName;
    request.countingMethod = m_countingMethod == kReservoir ? "reservoir" : "rainflow";
    request.criterion = m_criterionCode == kMises ? "mises" : "tresca";
    const std::string line = ZuvanFatigueJson::Line(request, analysis, result);
    const std::unique_ptr<std::ofstream> file = OpenForAppend(
        ReportPath(m_outputDirectory, m_fileName) + ".jsonl", std::locale::classic(), tag);
    file->write(line.data(), static_cast<std::streamsize>(line.size()));
    ZuvanFatigueAnalysis::FinishReport(file.get(), tag);
}
