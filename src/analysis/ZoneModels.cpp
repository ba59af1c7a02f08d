#include "analysis/ZoneModels.h"

#include "analysis/CurveFit.h"
#include "analysis/CurveRules.h"
#include "analysis/ThresholdMethods.h"
#include "data/Records.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

namespace trv {

namespace {

const std::vector<ZoneModelInfo> kModels = {
    {"trv5", IDS_ZMODEL_TRV5, true},     {"seiler3", IDS_ZMODEL_SEILER3, false}, {"seiler5", IDS_ZMODEL_SEILER5, false},
    {"friel7", IDS_ZMODEL_FRIEL7, true}, {"coggan7", IDS_ZMODEL_COGGAN7, true},
};

// A boundary between two bands: its percentage (models given in percent), load, heart rate.
struct Boundary {
    std::optional<double> pct, load, heartRate;
};

std::vector<ZoneName> Names(std::initializer_list<std::pair<const char*, int>> list) {
    std::vector<ZoneName> out;
    for (const auto& [code, name] : list) out.push_back({code, LoadStr(name)});
    return out;
}

// What the zones of one test need beyond the thresholds: the user fit and the heart-rate line.
class CZoneCurves {
public:
    explicit CZoneCurves(const ThresholdInput& in) : m_In(in) {
        m_Hr.Set(in.x, in.heartRate);
        const size_t n = in.x.size();
        if (n == 0) return;
        m_Fit.SetPoints(in.x, in.y);
        m_bFit = !(in.fitFunction == FitCubic && n < 4) && m_Fit.Fit(in.fitFunction);
    }
    double F(double x) const {
        double v = 0.0;
        return m_bFit && m_Fit.Value(x, v) ? v : std::nan("");
    }
    bool HasFit() const { return m_bFit; }
    const CHeartRateCurve& Hr() const { return m_Hr; }
    // The last upward crossing of f with `level` on [x1, xn].
    std::optional<double> Crossing(double level) const {
        if (!m_bFit || m_In.x.size() < 2 || !(m_In.x.back() > m_In.x.front())) return std::nullopt;
        if (!m_pCurve)
            m_pCurve =
                std::make_unique<CSampledCurve>([this](double x) { return F(x); }, m_In.x.front(), m_In.x.back());
        return m_pCurve->LevelCrossing(level);
    }

private:
    const ThresholdInput& m_In;
    CCurveFit m_Fit;
    bool m_bFit = false;
    CHeartRateCurve m_Hr;
    mutable std::unique_ptr<CSampledCurve> m_pCurve;
};

// Bands from their names and the boundaries between them (one fewer); the first is open below,
// the last open above. The lactate at a boundary is the fit's where it has a value.
std::vector<ZoneResult> Bands(const std::vector<ZoneName>& names, const std::vector<Boundary>& bounds,
                              const CZoneCurves& curves) {
    std::vector<ZoneResult> zones;
    auto lactate = [&](const Boundary& b) -> std::optional<double> {
        if (!b.load) return std::nullopt;
        const double v = curves.F(*b.load);
        return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    };
    for (size_t i = 0; i < names.size(); ++i) {
        ZoneResult z;
        z.code = names[i].code;
        z.name = names[i].name;
        if (i > 0) {
            const Boundary& b = bounds[i - 1];
            z.fromPct = b.pct;
            z.loadFrom = b.load;
            z.heartRateFrom = b.heartRate;
            z.lactateFrom = lactate(b);
        }
        if (i + 1 < names.size()) {
            const Boundary& b = bounds[i];
            z.toPct = b.pct;
            z.loadTo = b.load;
            z.heartRateTo = b.heartRate;
            z.lactateTo = lactate(b);
        }
        zones.push_back(z);
    }
    return zones;
}

ZoneAnchor AnchorOf(const TestThresholds& out, const std::string& method) {
    ZoneAnchor a;
    a.method = method;
    const int index = MethodIndex(method);
    if (index >= 0) a.label = LoadStr(MethodCatalogue()[static_cast<size_t>(index)].label);
    if (const MethodResult* m = out.Find(method); m && m->ok) {
        a.load = m->load;
        a.heartRate = m->heartRate;
        a.lactate = m->lactate;
    }
    return a;
}

std::string AnchorMissing(const TestThresholds& out, const char* name, const ZoneAnchor& a) {
    const MethodResult* m = out.Find(a.method);
    return FmtId(IDS_ZWHY_ANCHOR, name, a.label.c_str(), m ? m->reason.c_str() : "");
}

// Percentages of an anchor load.
std::vector<Boundary> PercentOf(double anchor, const std::vector<double>& pcts, const CZoneCurves& curves) {
    std::vector<Boundary> b;
    for (double p : pcts) {
        const double load = p / 100.0 * anchor;
        b.push_back({p, load, curves.Hr().At(load)});
    }
    return b;
}

void Seiler3(TestThresholds& out, const CZoneCurves& curves) {
    ZoneModelOutcome& o = out.zoneModel;
    if (!o.lt1.load) {
        o.reason = AnchorMissing(out, "LT1", o.lt1);
        return;
    }
    if (!o.lt2.load) {
        o.reason = AnchorMissing(out, "LT2", o.lt2);
        return;
    }
    if (!(*o.lt1.load < *o.lt2.load)) {
        o.reason = LoadStr(IDS_ZWHY_LT_ORDER);
        return;
    }
    const std::vector<Boundary> b = {{std::nullopt, o.lt1.load, curves.Hr().At(*o.lt1.load)},
                                     {std::nullopt, o.lt2.load, curves.Hr().At(*o.lt2.load)}};
    out.zones = Bands(Names({{"Z1", IDS_ZBAND_S3_Z1}, {"Z2", IDS_ZBAND_S3_Z2}, {"Z3", IDS_ZBAND_S3_Z3}}), b, curves);
}

void Seiler5(const ThresholdInput& in, TestThresholds& out, const CZoneCurves& curves) {
    ZoneModelOutcome& o = out.zoneModel;
    if (in.x.size() < 3) {
        o.reason = LoadStr(IDS_WHY_FEW_POINTS);
        return;
    }
    if (!curves.HasFit()) {
        o.reason = LoadStr(IDS_WHY_NO_FIT);
        return;
    }
    const std::vector<ZoneName> names = Names({{"I1", IDS_ZBAND_S5_I1},
                                               {"I2", IDS_ZBAND_S5_I2},
                                               {"I3", IDS_ZBAND_S5_I3},
                                               {"I4", IDS_ZBAND_S5_I4},
                                               {"I5", IDS_ZBAND_S5_I5}});
    const double levels[] = {1.5, 2.5, 4.0, 6.0};
    // A level that the curve does not cross leaves its boundary open: the bands on both sides become
    // one ("I1/I2"). So does a crossing that does not lie above the one before (a curve that dips).
    std::vector<ZoneName> merged{names[0]};
    std::vector<Boundary> bounds;
    for (size_t i = 0; i < 4; ++i) {
        const std::optional<double> x = curves.Crossing(levels[i]);
        if (x && (bounds.empty() || *x > *bounds.back().load)) {
            bounds.push_back({std::nullopt, x, curves.Hr().At(*x)});
            merged.push_back(names[i + 1]);
        } else {
            merged.back().code += "/" + names[i + 1].code;
            merged.back().name += " / " + names[i + 1].name;
        }
    }
    if (bounds.empty()) {
        o.reason = LoadStr(IDS_ZWHY_NO_LEVEL);
        return;
    }
    out.zones = Bands(merged, bounds, curves);
    // The lactate at a crossing is its level (the fit there, to the solver's precision).
}

void Friel7(const ThresholdInput& in, TestThresholds& out, const CZoneCurves& curves) {
    ZoneModelOutcome& o = out.zoneModel;
    if (!curves.Hr().At(in.x.empty() ? 0.0 : in.x.front())) {
        o.reason = LoadStr(IDS_ZWHY_NO_HR);
        return;
    }
    if (!o.lt2.load) {
        o.reason = AnchorMissing(out, "LT2", o.lt2);
        return;
    }
    const std::optional<double> lthr = curves.Hr().At(*o.lt2.load);
    if (!lthr || !(*lthr > 0.0)) {
        o.reason = LoadStr(IDS_ZWHY_NO_HR);
        return;
    }
    const std::vector<double> pcts = in.testType == TestErgometer ? std::vector<double>{81, 90, 94, 100, 103, 106}
                                                                  : std::vector<double>{85, 90, 95, 100, 103, 106};
    std::vector<Boundary> b;
    for (double p : pcts) {
        const double bpm = p / 100.0 * *lthr;
        std::optional<double> load = curves.Hr().FirstLoadAt(bpm);
        if (load && !(*load > 0.0)) load.reset();  // the line reaches it only at no load
        b.push_back({p, load, bpm});
    }
    out.zones = Bands(Names({{"Z1", IDS_ZBAND_F7_Z1},
                             {"Z2", IDS_ZBAND_F7_Z2},
                             {"Z3", IDS_ZBAND_F7_Z3},
                             {"Z4", IDS_ZBAND_F7_Z4},
                             {"Z5a", IDS_ZBAND_F7_Z5A},
                             {"Z5b", IDS_ZBAND_F7_Z5B},
                             {"Z5c", IDS_ZBAND_F7_Z5C}}),
                      b, curves);
}

void Coggan7(const ThresholdInput& in, TestThresholds& out, const CZoneCurves& curves) {
    ZoneModelOutcome& o = out.zoneModel;
    if (in.testType != TestErgometer || in.loadUnit != UnitWatt) {
        o.reason = LoadStr(IDS_ZWHY_COGGAN);
        return;
    }
    if (!o.lt2.load) {
        o.reason = AnchorMissing(out, "LT2", o.lt2);
        return;
    }
    out.zones = Bands(Names({{"L1", IDS_ZBAND_C7_L1},
                             {"L2", IDS_ZBAND_C7_L2},
                             {"L3", IDS_ZBAND_C7_L3},
                             {"L4", IDS_ZBAND_C7_L4},
                             {"L5", IDS_ZBAND_C7_L5},
                             {"L6", IDS_ZBAND_C7_L6},
                             {"L7", IDS_ZBAND_C7_L7}}),
                      PercentOf(*o.lt2.load, {55, 75, 90, 105, 120, 150}, curves), curves);
}

std::string Join(const std::vector<const char*>& ids) {
    std::string s;
    for (const char* id : ids) s += (s.empty() ? "" : ", ") + std::string(id);
    return s;
}

}  // namespace

const std::vector<ZoneModelInfo>& ZoneModelCatalogue() { return kModels; }

int ZoneModelIndex(const std::string& id) {
    for (size_t i = 0; i < kModels.size(); ++i)
        if (id == kModels[i].id) return static_cast<int>(i);
    return -1;
}

std::string ZoneModelIdList() {
    std::vector<const char*> ids;
    for (const ZoneModelInfo& m : kModels) ids.push_back(m.id);
    return Join(ids);
}

std::string MethodIdList() {
    std::vector<const char*> ids;
    for (const MethodInfo& m : MethodCatalogue()) ids.push_back(m.id);
    return Join(ids);
}

Result CheckZoneChoice(const ZoneSettings& s) {
    if (ZoneModelIndex(s.model) < 0)
        return Result::Fail(FmtId(IDS_ZWHY_UNKNOWN_MODEL, s.model.c_str(), ZoneModelIdList().c_str()));
    for (const std::string* m : {&s.lt1, &s.lt2})
        if (MethodIndex(*m) < 0)
            return Result::Fail(FmtId(IDS_ZWHY_UNKNOWN_METHOD, m->c_str(), MethodIdList().c_str()));
    return Result::Ok();
}

std::string ZoneModelCaption(const ZoneModelOutcome& o) {
    const int index = ZoneModelIndex(o.model);
    std::string s = o.name;
    if (index == 1) s += "; LT1 " + o.lt1.label + ", LT2 " + o.lt2.label;
    if (index == 3 || index == 4) s += "; LT2 " + o.lt2.label;
    return s;
}

unsigned ZoneColour(size_t i, size_t count) {
    static const unsigned kPalette[] = {0x7FC97F, 0xB5DE6E, 0xFFE066, 0xFFB347, 0xF27A5E, 0xD9475A, 0x9E3D8F};
    const size_t n = std::size(kPalette);
    if (count <= 1) return kPalette[1];
    const size_t k = std::min(n - 1, i * (n - 1) / (count - 1));
    return kPalette[k];
}

void ApplyZoneModel(const ThresholdInput& in, const ZoneSettings& settings, TestThresholds& out) {
    ZoneModelOutcome& o = out.zoneModel;
    o = ZoneModelOutcome{};
    o.model = settings.model;
    o.lt1 = AnchorOf(out, settings.lt1);
    o.lt2 = AnchorOf(out, settings.lt2);
    const int index = ZoneModelIndex(settings.model);
    if (const Result known = CheckZoneChoice(settings); !known) {
        out.zones.clear();
        o.reason = known.message;
        return;
    }
    o.name = LoadStr(kModels[static_cast<size_t>(index)].name);
    if (index == 0) {  // trv5: the zones as computed, on the IANS
        if (out.zones.empty()) {
            const ZoneAnchor ians = AnchorOf(out, "ians");
            const MethodResult* m = out.Find("ians");
            o.reason = ians.load ? CheckZoneScheme(settings.For(in.testType)) : m ? m->reason : std::string();
        }
        return;
    }
    out.zones.clear();
    const CZoneCurves curves(in);
    switch (index) {
        case 1:
            Seiler3(out, curves);
            break;
        case 2:
            Seiler5(in, out, curves);
            break;
        case 3:
            Friel7(in, out, curves);
            break;
        default:
            Coggan7(in, out, curves);
            break;
    }
}

}  // namespace trv
