// The zone models against boundaries worked out by hand (ZoneDocs.h gives the curves).
#include "ZoneDocs.h"
#include "analysis/CurveRules.h"
#include "analysis/ThresholdMethods.h"
#include "analysis/ZoneModels.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trv;

namespace {

// Ergometer: the load where the curve reaches L, the heart rate and the lactate at a load.
double ErgLoad(double level) { return 100.0 + 50.0 * std::cbrt(10.0 * (level - 1.0)); }
double ErgHr(double p) { return 100.0 + 0.3 * p; }
double ErgLactate(double p) { return 1.0 + 0.1 * std::pow((p - 100.0) / 50.0, 3); }
// Treadmill (km/h): the load where the curve reaches L.
double RunKmh(double level) { return 8.0 + 2.0 * std::cbrt(10.0 * (level - 1.0)); }

TestThresholds Zones(const TestDataType& t, const char* model, const char* lt1, const char* lt2, int fit = FitCubic) {
    ZoneSettings s;
    s.model = model;
    s.lt1 = lt1;
    s.lt2 = lt2;
    return ComputeTestThresholds(t, fit, ModelMader, s);
}

struct Expect {
    const char* code;
    std::optional<double> pct, load, hr, lactate;  // lower boundary of the band (none: open)
};

// Every band's lower boundary against `want` (loads in stored units), and each band's upper
// boundary the next band's lower one; the last band is open above.
void ExpectBands(const TestThresholds& r, const std::vector<Expect>& want, double loadTol) {
    ASSERT_EQ(r.zones.size(), want.size()) << r.zoneModel.reason;
    EXPECT_TRUE(r.zoneModel.reason.empty());
    auto same = [](const std::optional<double>& got, const std::optional<double>& exp, double tol, const char* what,
                   const char* code) {
        ASSERT_EQ(got.has_value(), exp.has_value()) << code << " " << what;
        if (exp) {
            EXPECT_NEAR(*got, *exp, tol) << code << " " << what;
        }
    };
    for (size_t i = 0; i < want.size(); ++i) {
        const ZoneResult& z = r.zones[i];
        const Expect& e = want[i];
        EXPECT_EQ(z.code, e.code);
        EXPECT_FALSE(z.name.empty()) << e.code;
        same(z.fromPct, e.pct, 1e-12, "pct", e.code);
        same(z.loadFrom, e.load, loadTol, "load", e.code);
        same(z.heartRateFrom, e.hr, 1e-5, "heart rate", e.code);
        same(z.lactateFrom, e.lactate, 1e-6, "lactate", e.code);
        if (i + 1 < want.size()) {
            same(z.loadTo, want[i + 1].load, loadTol, "upper load", e.code);
            same(z.heartRateTo, want[i + 1].hr, 1e-5, "upper heart rate", e.code);
        } else {
            EXPECT_FALSE(z.loadTo || z.toPct || z.heartRateTo || z.lactateTo) << e.code;
        }
    }
}

Expect ErgAt(const char* code, std::optional<double> pct, double load) {
    return {code, pct, load, ErgHr(load), ErgLactate(load)};
}

}  // namespace

TEST(ZoneModels, ErgometerBoundariesByHand) {
    const TestDataType t = trvtest::ZoneErgometer();
    const double lt1 = ErgLoad(2.0), lt2 = ErgLoad(4.0);  // 207.72 W and 255.36 W

    // Seiler's three zones: boundaries at LT1 and LT2.
    TestThresholds r = Zones(t, "seiler3", "obla_2.0", "obla_4.0");
    EXPECT_EQ(r.zoneModel.model, "seiler3");
    EXPECT_EQ(r.zoneModel.name, "Drei Zonen (Seiler)");
    ASSERT_TRUE(r.zoneModel.lt1.load && r.zoneModel.lt2.load);
    EXPECT_NEAR(*r.zoneModel.lt1.load, lt1, 1e-6);
    EXPECT_NEAR(*r.zoneModel.lt2.load, lt2, 1e-6);
    ExpectBands(r, {{"Z1", {}, {}, {}, {}}, ErgAt("Z2", {}, lt1), ErgAt("Z3", {}, lt2)}, 1e-6);

    // Lactate bands: where the curve crosses 1.5, 2.5, 4.0 and 6.0 mmol/l.
    r = Zones(t, "seiler5", "obla_2.0", "obla_4.0");
    ExpectBands(r,
                {{"I1", {}, {}, {}, {}},
                 ErgAt("I2", {}, ErgLoad(1.5)),
                 ErgAt("I3", {}, ErgLoad(2.5)),
                 ErgAt("I4", {}, ErgLoad(4.0)),
                 ErgAt("I5", {}, ErgLoad(6.0))},
                1e-6);
    EXPECT_NEAR(*r.zones[4].lactateFrom, 6.0, 1e-6);

    // Friel on an ergometer: 81, 90, 94, 100, 103, 106 % of the heart rate at LT2; the load where the
    // heart-rate line (100 + 0.3 P) reaches it.
    r = Zones(t, "friel7", "obla_2.0", "obla_4.0");
    const double lthr = ErgHr(lt2);
    std::vector<Expect> friel{{"Z1", {}, {}, {}, {}}};
    const char* codes[] = {"Z2", "Z3", "Z4", "Z5a", "Z5b", "Z5c"};
    const double pcts[] = {81, 90, 94, 100, 103, 106};
    for (int i = 0; i < 6; ++i) {
        const double bpm = pcts[i] / 100.0 * lthr;
        const double load = (bpm - 100.0) / 0.3;
        friel.push_back({codes[i], pcts[i], load, bpm, ErgLactate(load)});
    }
    ExpectBands(r, friel, 1e-6);

    // Coggan: 55 .. 150 % of the LT2 power; 150 % (383 W) lies beyond the last step (300 W): its heart
    // rate is extrapolated along the line and its lactate is the cubic's.
    r = Zones(t, "coggan7", "obla_2.0", "obla_4.0");
    std::vector<Expect> coggan{{"L1", {}, {}, {}, {}}};
    const char* levels[] = {"L2", "L3", "L4", "L5", "L6", "L7"};
    const double cp[] = {55, 75, 90, 105, 120, 150};
    for (int i = 0; i < 6; ++i) coggan.push_back(ErgAt(levels[i], cp[i], cp[i] / 100.0 * lt2));
    ExpectBands(r, coggan, 1e-6);
    EXPECT_NEAR(*r.zones[6].heartRateFrom, 214.9127314, 1e-6);
    EXPECT_EQ(r.zones[0].name, "Aktive Erholung");

    // The spline has no lactate outside the steps: the open 150 % boundary keeps load and heart rate.
    r = Zones(t, "coggan7", "obla_2.0", "obla_4.0", FitSpline);
    ASSERT_EQ(r.zones.size(), 7u);
    EXPECT_GT(*r.zones[6].loadFrom, 300.0);
    EXPECT_TRUE(r.zones[6].heartRateFrom);
    EXPECT_FALSE(r.zones[6].lactateFrom);

    // trv5 (the default) keeps the settings' percentages of the IANS.
    r = Zones(t, "trv5", "ltp1", "ians");
    const MethodResult* ians = r.Find("ians");
    ASSERT_TRUE(ians && ians->ok);
    ExpectBands(r,
                {{"REKOM", {}, {}, {}, {}},
                 ErgAt("GA1", 55, 0.55 * *ians->load),
                 ErgAt("GA2", 75, 0.75 * *ians->load),
                 ErgAt("EB", 90, 0.90 * *ians->load),
                 ErgAt("SB", 105, 1.05 * *ians->load)},
                1e-9);
}

TEST(ZoneModels, TreadmillBoundariesByHand) {
    const TestDataType t = trvtest::ZoneTreadmill();
    // Baseline 1.0 (the pre-load reading): bsln_0.5 is the 1.5 mmol/l crossing; obla_2.5 the 2.5 one.
    const double lt1 = RunKmh(1.5), lt2 = RunKmh(2.5);  // 11.42 and 12.93 km/h

    // Heart rate 150 + 7.5 per km/h above 10 km/h, 165 + 5 per km/h above 12 km/h.
    TestThresholds r = Zones(t, "seiler3", "bsln_0.5", "obla_2.5");
    ExpectBands(r,
                {{"Z1", {}, {}, {}, {}},
                 {"Z2", {}, lt1 / 3.6, 150.0 + 7.5 * (lt1 - 10.0), 1.5},
                 {"Z3", {}, lt2 / 3.6, 165.0 + 5.0 * (lt2 - 12.0), 2.5}},
                1e-7);

    // The curve ends at 3.7 mmol/l: 4.0 and 6.0 are never crossed, so I3, I4 and I5 are one open band.
    r = Zones(t, "seiler5", "bsln_0.5", "obla_2.5");
    ExpectBands(r,
                {{"I1", {}, {}, {}, {}},
                 {"I2", {}, lt1 / 3.6, 150.0 + 7.5 * (lt1 - 10.0), 1.5},
                 {"I3/I4/I5", {}, lt2 / 3.6, 165.0 + 5.0 * (lt2 - 12.0), 2.5}},
                1e-7);

    // Friel on a treadmill: 85, 90, 95, 100, 103, 106 % of LTHR = 169.66 bpm; the load where the bent
    // heart-rate line reaches each, 106 % (179.8 bpm) beyond the last step (175 bpm at 14 km/h) on the
    // last segment extended.
    r = Zones(t, "friel7", "bsln_0.5", "obla_2.5");
    const double lthr = 165.0 + 5.0 * (lt2 - 12.0);
    const double b85 = 0.85 * lthr, b90 = 0.90 * lthr, b95 = 0.95 * lthr, b103 = 1.03 * lthr, b106 = 1.06 * lthr;
    const double kmh[] = {8.0 + (b85 - 140.0) / 5.0,   10.0 + (b90 - 150.0) / 7.5, 10.0 + (b95 - 150.0) / 7.5, lt2,
                          12.0 + (b103 - 165.0) / 5.0, 14.0 + (b106 - 175.0) / 5.0};
    const double bpm[] = {b85, b90, b95, lthr, b103, b106};
    const double pct[] = {85, 90, 95, 100, 103, 106};
    const char* codes[] = {"Z2", "Z3", "Z4", "Z5a", "Z5b", "Z5c"};
    std::vector<Expect> friel{{"Z1", {}, {}, {}, {}}};
    for (int i = 0; i < 6; ++i) {
        const double s = (kmh[i] - 8.0) / 2.0;
        friel.push_back({codes[i], pct[i], kmh[i] / 3.6, bpm[i], 1.0 + 0.1 * s * s * s});
    }
    ExpectBands(r, friel, 1e-7);
    EXPECT_GT(*r.zones[6].loadFrom * 3.6, 14.0);
    EXPECT_NEAR(*r.zones[6].loadFrom * 3.6, 14.9683696, 1e-6);

    // Pace at the LT2 speed: 1000 / (12.93 / 3.6) = 278.4 s per km.
    EXPECT_EQ(PaceText(lt2 / 3.6), "04:38 /km");
}

TEST(ZoneModels, NoZonesWithAReason) {
    const TestDataType erg = trvtest::ZoneErgometer();
    const TestDataType run = trvtest::ZoneTreadmill();
    TestDataType noHr = erg;
    for (PCMDataType& m : noHr.m_Steps) m.m_nHeartRate = 0;
    TestDataType twoPoints = erg;
    twoPoints.m_Steps.resize(3);

    struct Case {
        const char* name;
        const TestDataType* test;
        const char *model, *lt1, *lt2;
        std::string reason;  // the whole reason, or its beginning
    };
    const Case cases[] = {
        {"LT1 above LT2", &erg, "seiler3", "obla_4.0", "obla_2.0", "LT1 liegt nicht unter LT2."},
        {"LT1 equal to LT2", &erg, "seiler3", "obla_2.0", "obla_2.0", "LT1 liegt nicht unter LT2."},
        {"Coggan on a treadmill", &run, "coggan7", "bsln_0.5", "obla_2.5",
         "Leistungsbereiche nach Coggan gibt es nur für Ergometertests in Watt."},
        {"Friel without heart rates", &noHr, "friel7", "obla_2.0", "obla_4.0",
         "Ohne Herzfrequenzen gibt es keine HF-Zonen nach Friel."},
        {"LT2 not determinable", &erg, "coggan7", "obla_2.0", "stegmann", "LT2 (IAS Stegmann) ist nicht bestimmbar: "},
        {"LT2 never reached", &run, "friel7", "bsln_0.5", "obla_4.0", "LT2 (OBLA 4,0) ist nicht bestimmbar: "},
        {"LT1 missing for Seiler", &run, "seiler3", "obla_4.0", "obla_2.5", "LT1 (OBLA 4,0) ist nicht bestimmbar: "},
        {"too few points for lactate bands", &twoPoints, "seiler5", "obla_2.0", "obla_4.0", "Zu wenige Messpunkte."},
        {"unknown model", &erg, "seiler9", "ltp1", "ians",
         "Unbekanntes Zonenmodell \"seiler9\". Möglich sind: trv5, seiler3, seiler5, friel7, coggan7."},
        {"unknown method", &erg, "seiler3", "ltp3", "ians",
         "Unbekannte Schwellenmethode \"ltp3\". Möglich sind: ians, "},
    };
    for (const Case& c : cases) {
        const TestThresholds r = Zones(*c.test, c.model, c.lt1, c.lt2);
        EXPECT_TRUE(r.zones.empty()) << c.name;
        EXPECT_EQ(r.zoneModel.reason.substr(0, c.reason.size()), c.reason) << c.name << ": " << r.zoneModel.reason;
        EXPECT_GT(r.zoneModel.reason.size(), c.reason.size() - 1) << c.name;
    }
    // The method's own reason follows the anchor.
    const TestThresholds r = Zones(erg, "coggan7", "obla_2.0", "stegmann");
    EXPECT_NE(r.zoneModel.reason.find(r.Find("stegmann")->reason), std::string::npos);
}

TEST(ZoneModels, HeartRateLineReachedFirst) {
    // (load, heart rate): rising, flat, rising; outside the points the nearest segment extended.
    CHeartRateCurve hr;
    hr.Set({1, 2, 3, 4}, {100, 110, 110, 130});
    const std::pair<double, double> cases[] = {{95, 0.5}, {100, 1.0}, {105, 1.5}, {110, 2.0}, {120, 3.5}, {140, 4.5}};
    for (auto [bpm, load] : cases) {
        const std::optional<double> x = hr.FirstLoadAt(bpm);
        ASSERT_TRUE(x) << bpm;
        EXPECT_NEAR(*x, load, 1e-12) << bpm;
        EXPECT_NEAR(*hr.At(*x), bpm, 1e-9) << bpm;
    }
    // Falling at first: below the first point the line rises to the left, so 125 is met there first.
    hr.Set({1, 2, 3}, {120, 110, 130});
    EXPECT_NEAR(*hr.FirstLoadAt(125), 0.5, 1e-12);
    EXPECT_NEAR(*hr.FirstLoadAt(115), 1.5, 1e-12);
    // One heart-rate point is no line.
    hr.Set({1, 2}, {120, 0});
    EXPECT_FALSE(hr.FirstLoadAt(120));
}

TEST(ZoneModels, CatalogueAndColours) {
    ASSERT_EQ(ZoneModelCatalogue().size(), 5u);
    EXPECT_EQ(ZoneModelIndex("friel7"), 3);
    EXPECT_EQ(ZoneModelIndex("Friel7"), -1);
    EXPECT_EQ(ZoneModelIdList(), "trv5, seiler3, seiler5, friel7, coggan7");
    EXPECT_STREQ(LoadStr(ZoneModelCatalogue()[4].name), "Sieben Leistungsbereiche (Coggan)");
    EXPECT_TRUE(CheckZoneChoice(ZoneSettings{}));
    // The lowest band is green, the highest purple, whatever the number of bands.
    for (size_t n : {3u, 5u, 7u}) {
        EXPECT_EQ(ZoneColour(0, n), 0x7FC97Fu);
        EXPECT_EQ(ZoneColour(n - 1, n), 0x9E3D8Fu);
    }
}
