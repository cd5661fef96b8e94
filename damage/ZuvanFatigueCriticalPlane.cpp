#include "damage/ZuvanFatigueCriticalPlane.h"

namespace ZuvanFatigueCriticalPlane {

Search::Search(const std::vector<ZuvanFatigueAnalysis::Record>& records,
               const CZuvanFatigueCountingMethod& counting)
    : m_records(records),
      m_counting(counting),
      m_n(static_cast<int>(records.size())),
      m_recordInstants(records.size()),
      m_sxy(records.size()),
      m_sxz(records.size()),
      m_instants(records.size() + 1),
      m_values(records.size() + 1) {
    for (std::size_t k = 0; k < records.size(); ++k) m_recordInstants[k] = records[k].instant;
}

}  // namespace ZuvanFatigueCriticalPlane
