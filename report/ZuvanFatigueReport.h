#pragma once
// The calculation reports of the three damage analyses, written from their
// results: the heading echoes, the search, the plane and its series, the
// cycle tables and the total, byte for byte in the layout of the reports.

#include <ostream>

#include "damage/ZuvanFatigueResults.h"

namespace ZuvanFatigueReport {

// Unwelded zone (C11.3.9.2.3).
void Write(std::ostream& os, const ZuvanFatigueResults::UWZoneResult& result);
// Welded zone (C11.3.9.3, C11.A6).
void Write(std::ostream& os, const ZuvanFatigueResults::WeldResult& result);
// Throat of a partial-penetration weld (C11.3.7.4).
void Write(std::ostream& os, const ZuvanFatigueResults::ThroatResult& result);

}  // namespace ZuvanFatigueReport
