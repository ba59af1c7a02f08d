#pragma once
// Thresholds beyond the chart's IANS and the training zones derived from it, for one step test.
//
// The entry point is ComputeTestThresholds(test, fit, model, zones): it evaluates the test alone,
// as if it were the only test shown (fitting function `fit`, threshold model `model`), and returns
// every method of the catalogue in its fixed order, each with its id, German label, load (stored
// units: m/s or W), lactate, heart rate, a determinable flag and, when not determinable, the German
// reason; then the baseline, the fit quality and the zones. Nothing here keeps state between calls.
//
// ComputeThresholds(input, scheme) does the same on points that a caller has gathered itself.
#include "analysis/Zones.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trv {

struct TestDataType;

// A method of the catalogue: its id (as trv-cli prints it) and its German label.
struct MethodInfo {
    const char* id;
    int label;  // string-table id
};
// Every method in catalogue order: "ians", "obla_2.0" .. "obla_4.0", "bsln_0.5" .. "bsln_1.5",
// "dmax", "moddmax", "expdmax", "loglog", "ltp1", "ltp2", "ltratio", "dickhuth", "stegmann".
const std::vector<MethodInfo>& MethodCatalogue();
// Position of an id in the catalogue; -1 for an unknown id.
int MethodIndex(const std::string& id);

struct MethodResult {
    std::string id, label;
    bool ok = false;
    std::optional<double> load;       // stored units; set only when ok
    std::optional<double> lactate;    // mmol/l; set only when ok
    std::optional<double> heartRate;  // beats/min; none without two heart-rate points
    std::string reason;               // why not determinable (German); "" when ok
};

struct FitQuality {
    int function = 0;                     // 0 cubic, 1 spline
    std::optional<double> r2;             // of the user fit over the points
    std::optional<double> residualError;  // of the least-squares cubic, n > 4
};

struct TestThresholds {
    int testType = 0;
    int loadUnit = 0;
    int points = 0;
    std::optional<double> baseline;  // mmol/l
    FitQuality fit;
    std::vector<MethodResult> methods;  // catalogue order
    std::vector<ZoneResult> zones;      // empty without a determinable IANS
    ZoneModelOutcome zoneModel;         // the model of `zones` (ZoneModels.h), its anchors
    const MethodResult* Find(const std::string& id) const;
    bool IsSpeed() const { return loadUnit != 2; }
};

// What the methods see of a test.
struct ThresholdInput {
    int testType = 0;
    int loadUnit = 0;
    int fitFunction = 0;
    // The ticked main-load readings sorted by load: load (stored units, the compensated load of a
    // shortened last step), lactate in mmol/l and in tenths, heart rate (0 = none).
    std::vector<double> x, y, heartRate;
    std::vector<int> tenths;
    std::vector<double> preLoad;                      // lactates of the ticked pre-load readings
    std::vector<std::pair<double, double>> recovery;  // (s after the last load reading, lactate)
    double lastStepSeconds = 0.0;                     // duration of the step of the last point
    bool iansOk = false;                              // the chart's IANS of the test
    double iansLoad = 0.0, iansLactate = 0.0;         // stored units, mmol/l
    // What the uncertainty and the flag of readings need besides: per point (sorted order) its
    // measurement ID and its index in the test's readings; the points in the chart's order (indices
    // into the sorted points) with their loads as the chart draws them (the test's unit); the
    // threshold model and whether the parameters are entered (the chart's IANS needs both).
    std::vector<uint16_t> ids;
    std::vector<int> rows;
    std::vector<size_t> chartOrder;
    std::vector<double> chartLoads;
    int model = 0;
    bool paramsEntered = false;
    // False: loglog, ltp1 and ltp2 are left undetermined (the uncertainty's replicates fit them apart).
    bool segmentedFits = true;
};

// Gathers the input from a test, with the chart's IANS of a run that shows only this test.
ThresholdInput ThresholdInputOf(const TestDataType& test, int fit, int model);

TestThresholds ComputeThresholds(const ThresholdInput& input, const ZoneScheme& scheme);

// The loads of every method for many inputs on the same loads (the uncertainty's replicates: other
// lactates only), the same values as ComputeThresholds gives, without texts, heart rates and zones,
// and with what depends on the loads only made once. loglog, ltp1 and ltp2 are left NaN: the caller
// fits them on its own (ReplicateMethods.h).
class CMethodLoads {
public:
    explicit CMethodLoads(const std::vector<double>& x);  // the inputs' loads
    ~CMethodLoads();
    CMethodLoads(const CMethodLoads&) = delete;
    CMethodLoads& operator=(const CMethodLoads&) = delete;
    // Catalogue order, stored units, NaN where not determinable. `input` must outlive the next call
    // of AcceptedLoad.
    void Compute(const ThresholdInput& input, std::vector<double>& loads);
    // A load found otherwise for the last input, taken as a method's load: `x` (a hair outside
    // [x1, xn] moved onto the end), or NaN outside or where the fit has no lactate there.
    double AcceptedLoad(double x) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};

TestThresholds ComputeTestThresholds(const TestDataType& test, int fit, int model,
                                     const ZoneSettings& zones = ZoneSettings());

// A stored load in the test's unit (x 3.6 for km/h).
double LoadInTestUnit(double stored, int loadUnit);

}  // namespace trv
