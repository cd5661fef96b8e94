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

// 2: the search grid as one array per field (1: one object per plane).
constexpr int kSchemaVersion = 2;

// What a line holds: everything, or (--json=summary) everything but the
// search grid and the per-record plane stresses.
enum class Content { kFull, kSummary };

// What the request asked.
struct Request {
    std::string history, zone, reportFile, countingMethod, criterion;
};

// The "result" object of each analysis.
nlohmann::ordered_json Result(const ZuvanFatigueResults::UWZoneResult& result,
                              Content content = Content::kFull);
nlohmann::ordered_json Result(const ZuvanFatigueResults::WeldResult& result,
                              Content content = Content::kFull);
nlohmann::ordered_json Result(const ZuvanFatigueResults::ThroatResult& result,
                              Content content = Content::kFull);

// The whole object of a request as one line of text, line feed included;
// run is what produced it (the "run" object).
std::string Line(const Request& request, const char* analysis, const nlohmann::ordered_json& result,
                 const ZuvanFatigueProvenance::Run& run);

}  // namespace ZuvanFatigueJson
