#include "report/ZuvanFatigueJson.h"

#include "damage/ZuvanFatiguePlane.h"
#include "driver/ZuvanFatigueVersion.h"

namespace ZuvanFatigueJson {

namespace {

using nlohmann::ordered_json;
using namespace ZuvanFatigueResults;

double Degrees(double rad) { return rad * ZuvanFatigueCriticalPlane::kDegreesPerRadian; }

const char* EndingName(Ending ending) {
    switch (ending) {
        case Ending::kZeroDamage:
            return "zero_damage";
        case Ending::kRefused:
            return "refused";
        case Ending::kNormal:
            break;
    }
    return "normal";
}

ordered_json Tensor(const std::array<double, 6>& t) {
    ordered_json a = ordered_json::array();
    for (double v : t) a.push_back(v);
    return a;
}

ordered_json Component(const CZuvanFatigueComposant& c) {
    return {{"name", c.GetName()},
            {"material", c.GetMaterialName()},
            {"thickness_mm", c.GetThicknessMm()},
            {"roughness_um", c.GetRoughnessUm()}};
}

ordered_json Material(const CZuvanFatigueMateriau& m) {
    return {{"name", m.GetName()}, {"type", m.GetType()}, {"rm_mpa", m.GetRm()}, {"nu", m.GetNu()}};
}

ordered_json PlaneJson(const ZuvanFatigueCriticalPlane::Plane& p, double sumScale) {
    return {{"theta_deg", Degrees(p.theta)},
            {"phi_deg", Degrees(p.phi)},
            {"origin", p.origin},
            {"damage", p.damage},
            {"normal_stress_sum", sumScale * p.sum}};
}

// The search grid as columns: one array per field of PlaneJson, in grid
// order, each value the one PlaneJson gives.
ordered_json Grid(const PlaneSearch& search) {
    ordered_json theta = ordered_json::array(), phi = ordered_json::array(),
                 origin = ordered_json::array(), damage = ordered_json::array(),
                 sum = ordered_json::array();
    for (const auto& p : search.planes) {
        theta.push_back(Degrees(p.theta));
        phi.push_back(Degrees(p.phi));
        origin.push_back(p.origin);
        damage.push_back(p.damage);
        sum.push_back(search.sumScale * p.sum);
    }
    return {{"theta_deg", std::move(theta)},
            {"phi_deg", std::move(phi)},
            {"origin", std::move(origin)},
            {"damage", std::move(damage)},
            {"normal_stress_sum", std::move(sum)}};
}

ordered_json Search(const PlaneSearch& search, Content content) {
    ordered_json o = {
        {"correction_factor_cr", search.searchCr},
        {"choice", search.choice == ZuvanFatigueCriticalPlane::PlaneChoice::kToleranceThenSum
                       ? "tolerance_then_sum"
                       : "strictly_greater"}};
    if (content == Content::kFull) o["planes"] = Grid(search);
    o["improving_planes"] = search.improving;
    return o;
}

ordered_json PlaneRecords(const std::vector<PlaneRecord>& records, bool withSigmaEq) {
    ordered_json a = ordered_json::array();
    for (const PlaneRecord& p : records) {
        ordered_json o = {{"instant", p.instant}, {"sxx", p.sxx}, {"sxy", p.sxy}, {"sxz", p.sxz}};
        if (withSigmaEq) o["sigma_eq"] = p.sigmaEq;
        o["temperature_c"] = p.temperatureC;
        a.push_back(std::move(o));
    }
    return a;
}

ordered_json Series(const std::vector<SeriesPoint>& series) {
    ordered_json a = ordered_json::array();
    for (const SeriesPoint& p : series)
        a.push_back({{"instant", p.instant}, {"value", p.DSigmaEq}});
    return a;
}

ordered_json Instants(const CycleInstants& c) {
    return {{"start", c.start}, {"peak", c.pivot}, {"end", c.end}};
}

// The keys every analysis gives, in their order.
ordered_json Common(Ending ending, double total, const CZuvanFatigueHistorique& history) {
    return {{"ending", EndingName(ending)},
            {"total_damage", total},
            {"history_records", history.GetRecordCount()}};
}

// The search, the critical plane, its stresses and series.
void PlaneAnalysis(ordered_json& o, const PlaneSearch& search,
                   const std::vector<PlaneRecord>& records, bool withSigmaEq,
                   const std::vector<SeriesPoint>& series, Content content) {
    o["search"] = Search(search, content);
    o["critical_plane"] = PlaneJson(search.critical, search.sumScale);
    if (content == Content::kFull) o["plane_stresses"] = PlaneRecords(records, withSigmaEq);
    o["dsigma_eq"] = Series(series);
}

void Seam(ordered_json& o, const ZuvanFatigueWeld::Parts& parts) {
    o["seam"] = {{"name", parts.seam.GetName()},
                 {"classification", parts.seam.GetClassificationName()},
                 {"fatigue_class", parts.fatigueClass.GetName()},
                 {"first_component", parts.seam.GetFirstComponentName()},
                 {"second_component", parts.seam.GetSecondComponentName()},
                 {"has_imperfection", parts.seam.HasImperfection()}};
    o["components"] = {Component(parts.first), Component(parts.second)};
    o["materials"] = {Material(parts.firstMaterial), Material(parts.secondMaterial)};
}

}  // namespace

ordered_json Result(const UWZoneResult& r, Content content) {
    ordered_json o = Common(r.ending, r.total, r.history);
    o["component"] = Component(r.component);
    o["material"] = Material(r.material);
    o["zone"] = {{"name", r.zone.GetName()},
                 {"component", r.zone.GetComponentName()},
                 {"curve", r.zone.GetCurveName()},
                 {"kt", r.zoneKt},
                 {"kt_applied", r.ktApplied}};
    o["curve"] = {{"name", r.curve.GetName()}};
    PlaneAnalysis(o, r.search, r.planeRecords, true, r.series, content);
    if (r.ending != Ending::kZeroDamage) o["largest_cycle_mpa"] = r.dSigmaMax;
    ordered_json cycles = ordered_json::array();
    for (const UWZoneCycle& c : r.cycles) {
        const auto stresses = [](const ZuvanFatigueCorrection::CycleStresses& s) {
            return ordered_json{{"dsigma_r", s.DSigmaR},
                                {"dsigma_rlm", s.DSigmaRlm},
                                {"dsigma_rlt", s.DSigmaRlt},
                                {"dsigma_rl", s.DSigmaRl},
                                {"sigmo", s.Sigmo}};
        };
        ordered_json j = Instants(c);
        j["temperature_c"] = c.temperatureC;
        j["sigma_eq_max"] = c.sigmaEqM;
        j["rpt_mpa"] = c.Rpt;
        j["ke"] = c.Ke;
        j["kv"] = c.Kv;
        j["before"] = stresses(c.before);
        j["after"] = stresses(c.after);
        j["kt"] = c.Kt;
        j["kf"] = c.Kf;
        j["dsigma_f"] = c.DSigmaF;
        j["ctr"] = c.CtR;
        j["cs"] = c.Cs;
        j["ce"] = c.Ce;
        j["cm"] = c.Cm;
        j["cr"] = c.Cr;
        j["n"] = c.N;
        j["damage"] = c.damage;
        cycles.push_back(std::move(j));
    }
    o["cycles"] = std::move(cycles);
    return o;
}

ordered_json Result(const WeldResult& r, Content content) {
    ordered_json o = Common(r.ending, r.total, r.history);
    Seam(o, r.parts);
    if (r.hasImperfection) {
        ordered_json records = ordered_json::array();
        for (const IntensifiedRecord& ir : r.intensified) {
            records.push_back({{"record", ir.name},
                               {"pressure", ir.pressure},
                               {"a_perpendicular", ir.aPerpendicular},
                               {"a_parallel", ir.aParallel},
                               {"sij_before", Tensor(ir.sijBefore)},
                               {"sijlm_before", Tensor(ir.sijlmBefore)},
                               {"sij_after", Tensor(ir.sijAfter)},
                               {"sijlm_after", Tensor(ir.sijlmAfter)}});
        }
        o["intensification"] = {{"external_pressure", r.externalPressure},
                                {"records", std::move(records)}};
    }
    PlaneAnalysis(o, r.search, r.planeRecords, false, r.series, content);
    if (r.ending != Ending::kZeroDamage) {
        o["largest_cycle_mpa"] = r.dSigmaMax;
        o["thicker_mm"] = r.thickerMm;
        o["ce"] = r.Ce;
    }
    ordered_json cycles = ordered_json::array();
    for (const WeldCycle& c : r.cycles) {
        const auto stresses = [](const ZuvanFatigueCorrection::WeldCycleStresses& s) {
            return ordered_json{
                {"dsigma_r", s.DSigmaR}, {"dsigma_rlm", s.DSigmaRlm}, {"dsigma_rlt", s.DSigmaRlt}};
        };
        ordered_json j = Instants(c);
        j["temperature_c"] = c.temperatureC;
        j["rpt_mpa"] = c.Rpt;
        j["ke"] = c.Ke;
        j["kv"] = c.Kv;
        j["before"] = stresses(c.before);
        j["after"] = stresses(c.after);
        j["ctr"] = c.CtR;
        j["cr"] = c.Cr;
        j["n"] = c.N;
        j["damage"] = c.damage;
        cycles.push_back(std::move(j));
    }
    o["cycles"] = std::move(cycles);
    return o;
}

ordered_json Result(const ThroatResult& r, Content content) {
    ordered_json o = Common(r.ending, r.total, r.history);
    Seam(o, r.parts);
    if (content == Content::kFull) o["plane_stresses"] = PlaneRecords(r.planeRecords, false);
    ordered_json origins = ordered_json::array();
    for (const auto& origin : r.origins) {
        origins.push_back({{"origin", origin.index}, {"damage", origin.damage}});
    }
    ordered_json improving = ordered_json::array();
    for (std::size_t at : r.improvingOrigins) improving.push_back(r.origins[at].index);
    o["origin_search"] = {{"correction_factor_cr", r.searchCr},
                          {"origins", std::move(origins)},
                          {"improving_origins", std::move(improving)}};
    o["determining_origin"] = {{"origin", r.determining.index}, {"damage", r.determining.damage}};
    o["dsigma_eq"] = Series(r.series);
    if (r.ending != Ending::kZeroDamage) o["largest_cycle_mpa"] = r.dSigmaEqMax;
    if (r.ending == Ending::kNormal) {
        o["thicker_mm"] = r.thickerMm;
        o["ce"] = r.Ce;
    }
    if (r.ending == Ending::kRefused) o["refused_cycle"] = r.refusedCycle;
    ordered_json cycles = ordered_json::array();
    for (const ThroatCycle& c : r.cycles) {
        ordered_json j = Instants(c);
        j["dsigma_r"] = c.DSigmaR;
        j["dsigma_rlm"] = c.DSigmaRlm;
        j["dsigma_rlt"] = c.DSigmaRlt;
        j["temperature_c"] = c.temperatureC;
        if (c.checked) j["rpt_mpa"] = c.Rpt;
        if (r.ending == Ending::kNormal) {
            j["ctr"] = c.CtR;
            j["cr"] = c.Cr;
            j["n"] = c.N;
            j["damage"] = c.damage;
        }
        cycles.push_back(std::move(j));
    }
    o["cycles"] = std::move(cycles);
    return o;
}

namespace {

ordered_json DeckJson(const ZuvanFatigueProvenance::Deck& deck) {
    return {{"path", deck.path},
            {"sha256", deck.sha256.empty() ? ordered_json() : ordered_json(deck.sha256)}};
}

}  // namespace

std::string Line(const Request& request, const char* analysis, const ordered_json& result,
                 const ZuvanFatigueProvenance::Run& run) {
    const ordered_json o = {{"schema_version", kSchemaVersion},
                            {"program", "ZuvanFatigue"},
                            {"program_version", kZuvanFatigueVersion},
                            {"run",
                             {{"program_version", run.version},
                              {"time", run.timeUtc},
                              {"data", DeckJson(run.data)},
                              {"context", DeckJson(run.context)},
                              {"threads", run.threads}}},
                            {"request",
                             {{"history", request.history},
                              {"zone", request.zone},
                              {"report_file", request.reportFile},
                              {"counting_method", request.countingMethod},
                              {"criterion", request.criterion}}},
                            {"analysis", analysis},
                            {"result", result}};
    // Deck names are bytes: what is not UTF-8 becomes U+FFFD, never an exception.
    return o.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

}  // namespace ZuvanFatigueJson
