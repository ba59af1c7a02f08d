// The test list of a window with a large document: filling it (sort and column widths included),
// one keystroke of the search, and a sort by date. Prints times (not a test). With a file name as
// the second argument it also saves the document there, to look at.
#include "data/TrvFile.h"
#include "view/lists/TestListModel.h"
#include "view/lists/TestListProxy.h"
#include "view/window/DocHandle.h"
#include "view/window/TRVView.h"
#include "workspace/TestFilter.h"

#include <QApplication>
#include <QTreeView>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace trv;

namespace {

double Ms(const std::function<void()>& f) {
    const auto a = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int tests = argc > 1 ? std::atoi(argv[1]) : 10000;
    CDocHandle handle;
    CTRVDoc& doc = handle.Doc();
    uint16_t id = 1;
    for (int i = 0; i < tests; ++i) {
        TestDataType t;
        const int steps = i % 3 == 0 ? 1 : 6;
        t.m_nTestType = i % 3;
        for (int k = 0; k < steps; ++k) {
            PCMDataType m;
            m.m_nMeasId = id++;
            m.m_nMeasType = steps == 1 ? MeasSingle : MeasLoad;
            m.m_nStatus = StatusNormal;
            m.m_nLactate = static_cast<uint16_t>(10 + 7 * k);
            m.m_dSpeed = 2.0 + 0.5 * k;
            // Dates out of step with the IDs, over about five years.
            m.m_Time = COleDateTime::FromParts(2021 + (i * 7) % 5, 1 + (i * 5) % 12, 1 + (i * 11) % 28, 9, k, 0);
            t.m_Steps.push_back(m);
        }
        doc.m_Tests.push_back(std::move(t));
    }
    if (argc > 2) {
        const FileResult r = SaveDocument(doc, argv[2]);
        std::printf("saved %s: %s\n", argv[2], r.ok ? "ok" : r.message.c_str());
    }
    int found = 0;
    const double filterMs = Ms([&] {
        const CTestFilter filter("2023 la");
        for (const TestDataType& t : doc.m_Tests) found += filter.Matches(t) ? 1 : 0;
    });
    std::printf("the search's rule alone over all tests: %.1f ms, %d found\n", filterMs, found);
    CTRVView view(&handle);
    view.resize(1400, 900);
    view.show();
    app.processEvents();
    std::printf("%d tests, %d readings\n", tests, id - 1);
    std::printf("fill the test list: %.1f ms\n", Ms([&] { view.FillTestList(); }));
    const char* typed[] = {"2", "20", "202", "2023", "2023 l", "2023 la", ""};
    for (const char* text : typed) {
        const double ms = Ms([&] { view.SetFilterText(QString::fromUtf8(text)); });
        std::printf("search \"%s\": %.1f ms, %d rows\n", text, ms, view.Ui().testProxy->rowCount());
    }
    std::printf("sort by date: %.1f ms\n",
                Ms([&] { view.Ui().testList->sortByColumn(CTestListModel::ColDate, Qt::AscendingOrder); }));
    std::printf("sort by ID: %.1f ms\n",
                Ms([&] { view.Ui().testList->sortByColumn(CTestListModel::ColId, Qt::DescendingOrder); }));
    return 0;
}
