// A download from the simulated analyser through the window, as a user presses "Daten empfangen".
#include "ViewFixture.h"
#include "data/ManualTest.h"
#include "sim/SimAnalyser.h"
#include "view/dialogs/TRVStatusDialog.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace trv;

namespace {

// Delivers events until `done` holds or `ms` have passed.
bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// The simulated analyser on a port that the view finds.
struct RunningSim {
    explicit RunningSim(sim::SimConfig cfg = {}) : analyser(std::move(cfg)) {
        EXPECT_TRUE(dir.isValid());
        EXPECT_EQ(analyser.Start(dir.path().toStdString()).message, "");
        setenv("TRV_PORT_DIR", dir.path().toLocal8Bit().constData(), 1);
    }
    ~RunningSim() {
        analyser.Stop();
        unsetenv("TRV_PORT_DIR");
    }
    QTemporaryDir dir;
    sim::SimAnalyser analyser;
};

}  // namespace

TEST(ViewDownload, ReceiveFromTheSimulatorFillsTheLists) {
    const sim::SimConfig cfg;
    const size_t readings = cfg.memory.readings.size();
    ASSERT_GT(readings, 0u);
    RunningSim analyser(cfg);

    CDocHandle doc;
    CTRVView view(&doc);
    view.show();
    EXPECT_TRUE(view.Ui().receiveButton->isEnabled());
    bool disabledSeen = false;
    QObject::connect(&view, &CTRVView::commandStateChanged, [&] {
        if (!view.Ui().receiveButton->isEnabled()) disabledSeen = true;
    });
    view.Ui().receiveButton->click();
    // The search is synchronous up to the identification; the button stays off until the end.
    EXPECT_TRUE(disabledSeen || !view.Ui().receiveButton->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return view.Ui().receiveButton->isEnabled() && doc.Doc().GetTestCount() > 0; }, 20000));
    EXPECT_TRUE(disabledSeen);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Doc().m_bDeviceBound);
    EXPECT_EQ(doc.Doc().m_strDeviceId, cfg.memory.deviceId);
    // Every reading of the sample arrived, each in exactly one test; the list shows every test.
    size_t measurements = 0;
    for (const TestDataType& t : doc.Doc().m_Tests) measurements += t.m_Steps.size();
    EXPECT_EQ(measurements, readings);
    EXPECT_EQ(view.Ui().testModel->rowCount(), doc.Doc().GetTestCount());
    // The newest test is selected and its measurements are listed.
    EXPECT_EQ(view.SelectedTest(), doc.Doc().GetTestCount() - 1);
    EXPECT_EQ(view.Ui().measModel->rowCount(), static_cast<int>(doc.Doc().m_Tests.back().m_Steps.size()));
    EXPECT_FALSE(view.Ui().status->isVisible());
    EXPECT_EQ(view.Ui().status->Progress(), 100);
    // A second download brings nothing new: known measurement IDs are skipped.
    int tests = doc.Doc().GetTestCount();
    view.Ui().receiveButton->click();
    ASSERT_TRUE(WaitFor([&] { return view.Ui().receiveButton->isEnabled(); }, 20000));
    EXPECT_EQ(doc.Doc().GetTestCount(), tests);
}

TEST(ViewDownload, TheNewestAnalyserTestIsSelectedNotATypedTestBehindIt) {
    RunningSim analyser;
    CDocHandle doc;
    ManualTestInput input;
    input.m_FirstStep = COleDateTime::FromParts(2026, 1, 5, 17, 0, 0);
    for (int i = 0; i < 3; ++i) {
        ManualStep s;
        s.m_Load = 8.0 + 2 * i;
        s.m_dLactate = 1.0 + i;
        input.m_Steps.push_back(s);
    }
    TestDataType typed;
    std::vector<std::string> questions;
    ASSERT_EQ(BuildManualTest(input, typed, questions).message, "");
    int index = -1;
    ASSERT_EQ(AddManualTest(doc.Doc(), typed, index).message, "");
    ASSERT_EQ(index, 0);
    CTRVView view(&doc);
    view.show();
    view.Ui().receiveButton->click();
    ASSERT_TRUE(WaitFor([&] { return view.Ui().receiveButton->isEnabled() && doc.Doc().GetTestCount() > 1; }, 20000));
    const int n = doc.Doc().GetTestCount();
    EXPECT_EQ(doc.Doc().GetTest(n - 1).m_Steps.front().m_nMeasId, 60000);
    EXPECT_EQ(view.SelectedTest(), n - 2);
    EXPECT_EQ(view.Ui().measModel->rowCount(), static_cast<int>(doc.Doc().GetTest(n - 2).m_Steps.size()));
}

TEST(ViewDownload, AbbrechenInTheStatusWindowStopsTheTransferAndChangesNothing) {
    sim::SimConfig cfg;
    cfg.pace = true;  // at the line rate: the frame takes about 1.8 s
    RunningSim analyser(cfg);

    CDocHandle doc;
    CTRVView view(&doc);
    view.show();
    view.Ui().receiveButton->click();
    ASSERT_TRUE(WaitFor(
        [&] {
            return view.Ui().status->isVisible() && view.Ui().status->Progress() >= 10 &&
                   view.Ui().status->StatusText().startsWith(QStringLiteral("Empfange"));
        },
        20000));
    view.Ui().status->CancelButton()->click();
    EXPECT_FALSE(view.Ui().status->isVisible());
    EXPECT_TRUE(view.Ui().receiveButton->isEnabled());
    // The rest of the frame arrives at a closed port: nothing is merged, no message comes.
    WaitFor([] { return false; }, 2500);
    EXPECT_EQ(doc.Doc().GetTestCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.Doc().m_bDeviceBound);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // And the next "Daten empfangen" brings the whole memory.
    view.Ui().receiveButton->click();
    ASSERT_TRUE(WaitFor([&] { return view.Ui().receiveButton->isEnabled() && doc.Doc().GetTestCount() > 0; }, 20000));
    EXPECT_TRUE(doc.Doc().m_bDeviceBound);
}
