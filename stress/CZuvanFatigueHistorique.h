#pragma once
// A stress history (*HISTORIQUE): the numbered series of stress records that
// loads one zone of the structure (a weld seam, an unwelded zone or the
// throat of a weld seam). The records are numbered 0, 1, 2, ... in order of
// appearance, all kinds sharing one count; these numbers are the instants of
// every signal and cycle. The history owns its records.

#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "stress/CZuvanFatigueReleve.h"

class CZuvanFatigueCordon;
class CZuvanFatigueUWZone;

class CZuvanFatigueHistorique {
   public:
    // Kinds of zone loaded.
    static constexpr int kTypeInconnu = 10;
    static constexpr int kTypeCordon = 20;  // weld zone (*HISTORIQUE_CORDON)
    static constexpr int kTypeUWZone = 30;  // unwelded zone (*HISTORIQUE_UWZONE)
    static constexpr int kTypeGorge = 40;   // weld throat (*HISTORIQUE_GORGE)
    // Kinds of record.
    static constexpr int kKindReleve = 10;      // CZuvanFatigueReleve
    static constexpr int kKindReleveLin = 20;   // CZuvanFatigueReleveLin
    static constexpr int kKindReleveQuad = 30;  // CZuvanFatigueReleveQuad
    // Fewest records a history read from a deck may hold.
    static constexpr int kMinRecords = 3;

    // (kind code, record); the record's class is the one of its kind code.
    using Record = std::pair<int, std::unique_ptr<CZuvanFatigueReleve>>;
    // Records by number: iteration in key order is the order of time.
    using Records = std::map<int, Record>;
    using UWZones = std::map<std::string, CZuvanFatigueUWZone>;
    using Welds = std::map<std::string, CZuvanFatigueCordon>;

    CZuvanFatigueHistorique();
    // Deep copies of the records, by their kind codes (code 210 for another).
    CZuvanFatigueHistorique(const CZuvanFatigueHistorique& other);
    CZuvanFatigueHistorique& operator=(const CZuvanFatigueHistorique& other);
    ~CZuvanFatigueHistorique();

    // Reads the block opened by cardLine (its 200-character copy) up to
    // *FIN_HISTORIQUE, with its zone card and record blocks, and defines the
    // history against the study's zones and seams. Codes 10, 30, 40, 50, 200
    // and those of the record blocks.
    void Read(std::istream& in, const std::string& cardLine, const UWZones& uwZones,
              const Welds& welds);

    // Checks (code 200: name " ", the zone not found for the type: type 30
    // among the unwelded zones, types 20 and 40 among the seams) and stores
    // copies of the records (code 210 for a kind code or record that does not
    // match its class).
    void SetDefinition(const Records& records, const UWZones& uwZones, const Welds& welds,
                       std::string name, std::string zoneName, int type);

    bool IsDefined() const { return m_defined; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetZoneName() const { return m_zoneName; }
    int GetType() const { return m_type; }

    // The records in the order of time.
    const Records& GetRecords() const { return m_records; }
    int GetRecordCount() const { return static_cast<int>(m_records.size()); }
    // The record of one instant, and its kind code (code 210 when absent).
    const CZuvanFatigueReleve& GetRecord(int number) const;
    int GetRecordKind(int number) const;

   private:
    bool m_defined;
    std::string m_name;
    std::string m_zoneName;
    int m_type;
    Records m_records;
};

// Echo block of the history and of each of its records in a report.
std::ostream& operator<<(std::ostream& os, const CZuvanFatigueHistorique& history);
