#include "damage/ZuvanFatigueAnalysis.h"

#include <ios>
#include <limits>
#include <string>

#include "driver/CExceptionZuvanFatigue.h"
#include "stress/CZuvanFatigueHistorique.h"
#include "stress/CZuvanFatigueReleve.h"

namespace ZuvanFatigueAnalysis {

std::vector<Record> Records(const CZuvanFatigueHistorique& history) {
    std::vector<Record> records;
    records.reserve(history.GetRecords().size());
    for (const auto& entry : history.GetRecords()) {
        const CZuvanFatigueReleve& releve = *entry.second.second;
        Record r;
        r.instant = entry.first;
        r.sij = releve.GetSij();
        r.sijm = releve.GetSijm();
        r.sijlm = releve.GetSijlm();
        r.sijlt = releve.GetSijlt();
        r.temperatureC = releve.GetTemperature();
        r.pressure = releve.GetPressure();
        records.push_back(r);
    }
    return records;
}

int IndexOf(const std::vector<Record>& records, int instant) {
    // Instants are the record numbers 0, 1, 2, ...: the index is the instant.
    if (instant >= 0 && static_cast<std::size_t>(instant) < records.size() &&
        records[static_cast<std::size_t>(instant)].instant == instant) {
        return instant;
    }
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (records[k].instant == instant) return static_cast<int>(k);
    }
    return -1;
}

CycleIndices Locate(const std::vector<Record>& records, int pivot, int start, int end,
                    const char* tag) {
    const CycleIndices at{IndexOf(records, pivot), IndexOf(records, start), IndexOf(records, end)};
    if (at.pivot < 0 || at.start < 0 || at.end < 0) Raise(tag, kCodeInterne);
    return at;
}

double CycleTemperature(const std::vector<Record>& records, int p, int s, int e) {
    double tMax = std::numeric_limits<double>::lowest();
    double tMin = std::numeric_limits<double>::max();
    const auto over = [&](int a, int b) {
        for (int k = std::min(a, b); k <= std::max(a, b); ++k) {
            tMax = std::max(tMax, records[k].temperatureC);
            tMin = std::min(tMin, records[k].temperatureC);
        }
    };
    over(p, s);
    over(e, p);
    return 0.75 * tMax + 0.25 * tMin;
}

double DamageRate(int permissibleCycles, const char* tag) {
    if (permissibleCycles <= 0) Raise(tag, kCodeIncoherent);
    return 1.0 / permissibleCycles;
}

ReportStream::ReportStream(std::unique_ptr<ZuvanFatigueOutputFile> file, const std::locale& locale)
    : m_file(std::move(file)), m_nowhere(nullptr) {
    m_text.imbue(locale);
}

ReportStream::~ReportStream() = default;

void ReportStream::Finish(const char* tag) {
    if (!m_file) return;
    if (!m_text) Raise(tag, kCodeFichierResultats);
    m_file->Append(m_text.str(), tag);
}

}  // namespace ZuvanFatigueAnalysis
