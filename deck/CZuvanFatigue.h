#pragma once
// The study: everything the data file defines, its own copy of the context
// library, the data file and the output directory. Read walks the data file
// card by card and carries out each damage request as soon as it is read.

#include <fstream>
#include <map>
#include <string>

#include "damage/ZuvanFatigueSearchOptions.h"
#include "deck/CZuvanFatigueContexte.h"
#include "model/CZuvanFatigueComposant.h"
#include "model/CZuvanFatigueCordon.h"
#include "model/CZuvanFatigueUWZone.h"
#include "stress/CZuvanFatigueHistorique.h"

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
    // With it, every request that writes a report also appends its JSON results.
    void SetJsonResults(bool value) { m_jsonResults = value; }
    // Threads and progress of every request's searches (one thread, no
    // progress unless set).
    void SetSearchOptions(const ZuvanFatigueCriticalPlane::SearchOptions& options) {
        m_searchOptions = options;
    }

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
    void ReadCards();

    std::map<std::string, CZuvanFatigueComposant> m_components;
    std::map<std::string, CZuvanFatigueCordon> m_welds;
    std::map<std::string, CZuvanFatigueUWZone> m_uwZones;
    std::map<std::string, CZuvanFatigueHistorique> m_histories;
    CZuvanFatigueContexte m_context;
    std::ifstream m_in;
    std::string m_inputFile;
    std::string m_outputDirectory;
    bool m_jsonResults = false;
    ZuvanFatigueCriticalPlane::SearchOptions m_searchOptions;
};
