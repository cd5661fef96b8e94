#pragma once
// The study: everything the data file defines, its own copy of the context
// library, the data file and the output directory. Read walks the data file
// card by card and carries out each damage request as soon as it is read.

#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "damage/ZuvanFatigueProvenance.h"
#include "damage/ZuvanFatigueSearchOptions.h"
#include "deck/CZuvanFatigueContexte.h"
#include "model/CZuvanFatigueComposant.h"
#include "model/CZuvanFatigueCordon.h"
#include "model/CZuvanFatigueUWZone.h"
#include "stress/CZuvanFatigueHistorique.h"

class CZuvanFatigueClause;

class CZuvanFatigue {
   public:
    CZuvanFatigue();
    // Copies the maps, the context and both paths; the copy's stream stays closed.
    CZuvanFatigue(const CZuvanFatigue& other);
    CZuvanFatigue& operator=(const CZuvanFatigue& other);
    ~CZuvanFatigue();

    // Entry points: 0 or an error code, never an exception.
    int SetInputFile(const char* path);
    int SetContext(const CZuvanFatigueContexte& context);
    int SetOutputDirectory(const char* path);
    int Read();
    // Reading and defining only, on a data deck already open: every block is
    // read and every *DOMMAGE request defined and resolved as Read does with a
    // resolve-only plan; no request is carried out and no file is written.
    // For the deck reader's fuzz target.
    int ReadDefinitions(std::istream& in);
    // With it, every request that writes a report also appends its JSON results.
    void SetJsonResults(bool value) { m_jsonResults = value; }
    // With it (--json=summary), each line leaves out the search grid and the
    // per-record plane stresses.
    void SetJsonSummary(bool value) { m_jsonSummary = value; }
    // Threads and progress of every request's searches (one thread, no
    // progress unless set).
    void SetSearchOptions(const ZuvanFatigueCriticalPlane::SearchOptions& options) {
        m_searchOptions = options;
    }
    // What produced the run, handed to every request for its JSON line.
    void SetProvenance(const ZuvanFatigueProvenance::Run& run) { m_provenance = run; }

    // What Read does with the damage requests (*DOMMAGE), numbered from 1 in
    // deck order. By default each one is carried out as soon as it is read.
    struct RequestPlan {
        // 0: every request is carried out; K >= 1: only the K-th is, the
        // others are read and defined only.
        int only = 0;
        // No request is carried out: each is defined and resolved as its
        // analysis would before computing (CZuvanFatigueClause::Resolve).
        bool resolveOnly = false;
        // When not empty, the folder (created if missing) where each request K
        // gets its own data deck K.data (ZuvanFatigueDeckSplit).
        std::string splitDirectory;
        // Called with each request once it is defined (and resolved, or
        // carried out, as the plan says).
        std::function<void(int index, const CZuvanFatigueClause& request)> defined;
    };
    void SetRequestPlan(const RequestPlan& plan) { m_plan = plan; }
    // The number of damage requests that Read has met so far.
    int GetRequestCount() const { return m_requestCount; }

    // Adds a copy of an object under its name, as reading its block does; a name
    // already held fails with the kind's "existe déjà" code (250, 260, 270, 280).
    // The object is stored as given: its references are not checked again.
    void AddComponent(const CZuvanFatigueComposant& component);
    void AddUWZone(const CZuvanFatigueUWZone& zone);
    void AddWeld(const CZuvanFatigueCordon& seam);
    void AddHistory(const CZuvanFatigueHistorique& history);

    // Copies of the objects of the data file, by name.
    CZuvanFatigueComposant GetComponent(std::string name) const;  // 380 when absent
    CZuvanFatigueUWZone GetUWZone(std::string name) const;        // 370 when absent
    CZuvanFatigueCordon GetWeld(std::string name) const;          // 360 when absent
    CZuvanFatigueHistorique GetHistory(std::string name) const;   // 300 when absent

    const std::map<std::string, CZuvanFatigueComposant>& Components() const { return m_components; }
    const std::map<std::string, CZuvanFatigueCordon>& Welds() const { return m_welds; }
    const std::map<std::string, CZuvanFatigueUWZone>& UWZones() const { return m_uwZones; }
    const std::map<std::string, CZuvanFatigueHistorique>& Histories() const { return m_histories; }

    CZuvanFatigueContexte& Context() { return m_context; }
    const CZuvanFatigueContexte& Context() const { return m_context; }
    const std::string& GetInputFile() const { return m_inputFile; }
    const std::string& GetOutputDirectory() const { return m_outputDirectory; }

   private:
    void ReadCards(std::istream& in);
    // Reads the *HISTORIQUE block of the header line into the histories;
    // returns its name. 280 when the name is held already.
    std::string ReadHistory(std::istream& in, const std::string& line);

    std::map<std::string, CZuvanFatigueComposant> m_components;
    std::map<std::string, CZuvanFatigueCordon> m_welds;
    std::map<std::string, CZuvanFatigueUWZone> m_uwZones;
    std::map<std::string, CZuvanFatigueHistorique> m_histories;
    CZuvanFatigueContexte m_context;
    std::ifstream m_in;
    std::string m_inputFile;
    std::string m_outputDirectory;
    bool m_jsonResults = false;
    bool m_jsonSummary = false;
    ZuvanFatigueProvenance::Run m_provenance;
    RequestPlan m_plan;
    int m_requestCount = 0;
    ZuvanFatigueCriticalPlane::SearchOptions m_searchOptions;
};
