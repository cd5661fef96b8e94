#pragma once
// A damage request (*DOMMAGE): the history to assess, the report file and the
// cycle-counting method. It holds a frozen copy of the study and of the
// history, the counting method and the equivalent-stress criterion, opens the
// report file and runs the analysis that fits what the history loads.

#include <fstream>
#include <istream>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "damage/ZuvanFatigueSearchOptions.h"

class CZuvanFatigue;
class CZuvanFatigueHistorique;
class CZuvanFatigueCountingMethod;
class CZuvanFatiguePlasticityCriteria;
namespace ZuvanFatigueResults {
struct UWZoneResult;
struct WeldResult;
struct ThroatResult;
}  // namespace ZuvanFatigueResults

class CZuvanFatigueClause {
   public:
    static constexpr int kReservoir = 20;
    static constexpr int kRainFlow = 30;
    static constexpr int kTresca = 20;
    static constexpr int kMises = 30;
    static constexpr int kComputeOnly = 10;
    static constexpr int kWriteReport = 20;

    CZuvanFatigueClause();
    ~CZuvanFatigueClause();
    CZuvanFatigueClause(const CZuvanFatigueClause&) = delete;
    CZuvanFatigueClause& operator=(const CZuvanFatigueClause&) = delete;

    // Reads the block after a *DOMMAGE header up to *FIN_DOMMAGE and defines the
    // request (criterion Tresca).
    void Read(std::istream& in, const CZuvanFatigue& study, const std::string& outputDirectory);

    // Checks in the order 300 (history), 330 (counting method), 320 (criterion).
    void SetDefinition(const CZuvanFatigue& study, const std::string& outputDirectory,
                       const std::string& fileName, const std::string& historyName, int criterion,
                       int countingMethod);

    // Runs the analysis chosen by the history's type; returns the damage rate.
    double Damage();

    // Opens the report file for appending (created when absent); 450, 290.
    std::unique_ptr<std::ofstream> GetFile() const;

    // Path of the result file fileName (a *FICHIER_SORTIE name) in the output
    // directory (the current folder when the directory is empty). The file must
    // stay inside the directory: a blank name, an absolute name or a name with a
    // ".." component raises 290; a missing directory raises 450. A name may hold
    // sub-folders of the directory, which must exist to be written into.
    static std::string ReportPath(const std::string& outputDirectory, const std::string& fileName);

    void Clear();

    void SetReportSwitch(int value) { m_reportSwitch = value; }
    int GetReportSwitch() const { return m_reportSwitch; }
    // With it, a request that writes its report also appends its result as
    // one JSON line to the report's path + ".jsonl".
    void SetJsonResults(bool value) { m_jsonResults = value; }
    // Threads and progress of the searches (one thread, no progress unless set).
    void SetSearchOptions(const ZuvanFatigueCriticalPlane::SearchOptions& options) {
        m_searchOptions = options;
    }

    // The three analyses, chosen by Damage from the history's type; each
    // returns the total damage rate and, when the switch is kWriteReport,
    // writes its report (and its JSON line when asked) once the result is
    // computed: a request that fails in its analysis writes its report as far
    // as the analysis got, and no JSON line.
    double DamageUWZoneCriticalPlane();  // unwelded zone (C11.3.9.2.3)
    double DamageWeldCriticalPlane();    // welded zone (C11.3.9.3, C11.A6)
    double DamageWeldThroat();           // throat of a partial-penetration weld (C11.3.7.4)

   private:
    // The analyses' computations, without report: each fills its result step
    // by step and moves its stage on, so that a failure leaves in it what was
    // computed up to there.
    void ComputeUWZone(ZuvanFatigueResults::UWZoneResult& result) const;
    void ComputeWeld(ZuvanFatigueResults::WeldResult& result) const;
    void ComputeThroat(ZuvanFatigueResults::ThroatResult& result) const;
    // Runs an analysis: opens the report first (450, 290), computes the
    // result, renders it into the report and finishes the report (290), then
    // appends its JSON line when asked (290). Returns the total damage rate.
    // A failure in the computation renders the result as far as it got and
    // goes on (no JSON line).
    template <class Result>
    double Assess(const char* tag, void (CZuvanFatigueClause::*compute)(Result&) const,
                  const char* analysis);
    // The JSON line of a request whose result is given.
    void AppendJson(const char* tag, const char* analysis,
                    const nlohmann::ordered_json& result) const;
    std::unique_ptr<CZuvanFatigue> m_study;
    std::unique_ptr<CZuvanFatigueHistorique> m_history;
    std::unique_ptr<CZuvanFatigueCountingMethod> m_counting;
    std::unique_ptr<CZuvanFatiguePlasticityCriteria> m_criterion;
    std::string m_fileName;
    std::string m_outputDirectory;
    int m_reportSwitch;
    int m_countingMethod = 0;
    int m_criterionCode = 0;
    bool m_jsonResults = false;
    ZuvanFatigueCriticalPlane::SearchOptions m_searchOptions;
};
