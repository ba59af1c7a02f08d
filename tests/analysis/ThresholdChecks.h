#pragma once
// The check every threshold result must pass, whatever the curve.
#include "analysis/ThresholdMethods.h"

#include <gtest/gtest.h>

#include <cmath>

namespace trvtest {

// Every method in catalogue order, each either a finite load inside [x1, xn] with a finite lactate,
// or not determinable with a reason and no numbers; zone numbers are finite.
inline void ExpectSound(const trv::TestThresholds& r, double x1, double xn) {
    ASSERT_EQ(r.methods.size(), trv::MethodCatalogue().size());
    for (size_t i = 0; i < r.methods.size(); ++i) {
        const trv::MethodResult& m = r.methods[i];
        EXPECT_EQ(m.id, trv::MethodCatalogue()[i].id);
        if (m.ok) {
            ASSERT_TRUE(m.load && m.lactate) << m.id;
            EXPECT_TRUE(std::isfinite(*m.load) && std::isfinite(*m.lactate)) << m.id;
            EXPECT_GE(*m.load, x1 - 1e-12) << m.id;
            EXPECT_LE(*m.load, xn + 1e-12) << m.id;
            EXPECT_TRUE(!m.heartRate || std::isfinite(*m.heartRate)) << m.id;
        } else {
            EXPECT_FALSE(m.load || m.lactate || m.heartRate) << m.id;
            EXPECT_FALSE(m.reason.empty()) << m.id;
        }
    }
    for (const trv::ZoneResult& z : r.zones)
        for (auto v : {z.loadFrom, z.loadTo, z.heartRateFrom, z.heartRateTo, z.lactateFrom, z.lactateTo})
            EXPECT_TRUE(!v || std::isfinite(*v));
}

}  // namespace trvtest
