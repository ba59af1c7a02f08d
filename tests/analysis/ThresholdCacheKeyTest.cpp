// The thresholds cache's content key sees every field of a test and of its readings (but whether a
// window shows the test): a test that differs in any one of them is never answered from another's
// entry.
#include "FieldEdits.h"
#include "analysis/ThresholdCache.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace fieldtest;

TEST(ThresholdCacheKey, ChangesWithEveryFieldOfTheRecordButTheShownMark) {
    const TestDataType base = BaseTest();
    const std::string key = CThresholdCache::Key(base, FitCubic, ModelMader);
    EXPECT_EQ(CThresholdCache::Key(BaseTest(), FitCubic, ModelMader), key);
    for (const FieldEdit& edit : AllFieldEdits()) {
        TestDataType t = base;
        edit.change(t);
        if (std::string(edit.name) == "m_bShowInChart")
            EXPECT_EQ(CThresholdCache::Key(t, FitCubic, ModelMader), key);
        else
            EXPECT_NE(CThresholdCache::Key(t, FitCubic, ModelMader), key) << edit.name;
    }
    EXPECT_NE(CThresholdCache::Key(base, FitSpline, ModelMader), key);
    EXPECT_NE(CThresholdCache::Key(base, FitCubic, ModelKeul), key);
    // One reading fewer.
    TestDataType shorter = base;
    shorter.m_Steps.pop_back();
    EXPECT_NE(CThresholdCache::Key(shorter, FitCubic, ModelMader), key);
}
