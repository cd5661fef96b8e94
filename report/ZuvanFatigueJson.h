#pragma once
// The JSON results of the damage analyses: one object per request, written as
// one line of a JSON Lines file beside the report. Numbers at full precision
// whatever the locale; deck texts as UTF-8, bytes that are not UTF-8 replaced
// by U+FFFD. The keys are described in doc/json-results.md.

#include <nlohmann/json.hpp>
#include <string>

#include "damage/ZuvanFatigueProvenance.h"
#include "damage/ZuvanFatigueResults.h"

namespace ZuvanFatigueJson {

constexpr int kSchemaVersion = 1;

// The analysis kinds.
constexpr const char kUWZone[] = "unwelded_zone";
constexpr const char kWeld[] = "welded_zone";
constexpr const char kThroat[] = "weld_throat";

// What the request asked.
struct Request {
    std::string history, zone, reportFile, countingMethod, criterion;
};

// The "result" object of each analysis.
nlohmann::ordered_json Result(const ZuvanFatigueResults::UWZoneResult& result);
nlohmann::ordered_json Result(const ZuvanFatigueResults::WeldResult& result);
nlohmann::ordered_json Result(const ZuvanFatigueResults::ThroatResult& result);

// The whole object of a request as one line of text, line feed included;
// run is what produced it (the "run" object).
std::string Line(const Request& request, const char* analysis, const nlohmann::ordered_json& result,
                 const ZuvanFatigueProvenance::Run& run);

}  // namespace ZuvanFatigueJson
