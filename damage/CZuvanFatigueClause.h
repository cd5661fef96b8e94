#pragma once
// A damage request (*DOMMAGE): the history to assess, the report file and the
// cycle-counting method. It holds a frozen copy of the study and of the
// history, the counting method and the equivalent-stress criterion, opens the
// report file and runs the analysis that fits what the history loads.

#include <istream>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "damage/ZuvanFatigueProvenance.h"
#include "damage/ZuvanFatigueSearchOptions.h"

class CZuvanFatigue;
class ZuvanFatigueOutputFile;
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

    // Checks, in the order Damage meets them, what Damage checks before it
    // computes, and raises the same code: the history's type (200), the
    // report file's path (290, 450; nothing is opened or created), too few
    // records (220), then the objects the analysis fetches (unwelded zone:
    // 370, 100, 380, 410, 430; seam or throat: 360, 120, 90, 380, 410, 430).
    // Computes nothing and writes nothing.
    void Resolve() const;

    // What a defined request asks: the analysis its history's type chooses
    // ("uwzone", "seam", "throat"; empty for any other type), the history, the
    // counting method (kReservoir or kRainFlow) and the report file's name.
    const char* AnalysisKind() const;
    const CZuvanFatigueHistorique& GetHistory() const { return *m_history; }
    int GetCountingMethod() const { return m_countingMethod; }
    const std::string& GetFileName() const { return m_fileName; }

    // The report file, resolved inside the output directory and ready to be
    // appended to (created at its first byte); 450, 290 (ZuvanFatigueOutputFile).
    std::unique_ptr<ZuvanFatigueOutputFile> GetFile() const;
    // The file of the JSON lines: the report's name + ".jsonl", the same way.
    std::unique_ptr<ZuvanFatigueOutputFile> GetJsonFile() const;

    void Clear();

    void SetReportSwitch(int value) { m_reportSwitch = value; }
    int GetReportSwitch() const { return m_reportSwitch; }
    // With it, a request that writes its report also appends its result as
    // one JSON line to the report's path + ".jsonl".
    void SetJsonResults(bool value) { m_jsonResults = value; }
    // With it (--json=summary), that line leaves out the search grid and the
    // per-record plane stresses.
    void SetJsonSummary(bool value) { m_jsonSummary = value; }
    // Threads and progress of the searches (one thread, no progress unless set).
    void SetSearchOptions(const ZuvanFatigueCriticalPlane::SearchOptions& options) {
        m_searchOptions = options;
    }
    // What produced the run, for the "run" object of each JSON line.
    void SetProvenance(const ZuvanFatigueProvenance::Run& run) { m_provenance = run; }

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
    // Runs an analysis: resolves the report file, and the JSON file when asked,
    // first (450, 290: nothing is written when either name is refused),
    // computes the result, renders it and appends the report whole (290), then
    // appends its JSON line when asked (290). Returns the total damage rate.
    // A failure in the computation renders the result as far as it got and
    // goes on (no JSON line).
    template <class Result>
    double Assess(const char* tag, void (CZuvanFatigueClause::*compute)(Result&) const,
                  const char* analysis);
    // The JSON line of a request whose result is given.
    void AppendJson(ZuvanFatigueOutputFile& file, const char* tag, const char* analysis,
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
    bool m_jsonSummary = false;
    ZuvanFatigueCriticalPlane::SearchOptions m_searchOptions;
    ZuvanFatigueProvenance::Run m_provenance;
};
