// The workspace on resize (the chart takes the height, the lists keep theirs at the bottom, the
// measurement list takes the width, the buttons keep their distance to the bottom edge), the tips,
// and the view's side of the chart: cursors one at a time, legend clicks, edits.
#include "ViewFixture.h"
#include "analysis/ChartModel.h"
#include "view/window/TChart.h"

#include <QPushButton>

#include <gtest/gtest.h>

using namespace trv;
using viewtest::ViewHolder;

namespace {

QRect Geo(QWidget* w, QWidget* top) { return QRect(w->mapTo(top, QPoint(0, 0)), w->size()); }

void Settle(QWidget* w, int width, int height) {
    w->resize(width, height);
    QApplication::processEvents();
}

}  // namespace

TEST(ViewLayout, ResizingGrowsTheChartAndTheMeasurementListOnly) {
    ViewHolder h;
    CTRVView* v = h.view.get();
    Settle(v, 1000, 700);
    const QRect chart0 = Geo(v->Ui().chart, v), tests0 = Geo(v->Ui().testList, v), meas0 = Geo(v->Ui().measList, v),
                button0 = Geo(v->Ui().receiveButton, v), print0 = Geo(v->Ui().printButton, v);
    Settle(v, 1300, 900);
    const QRect chart1 = Geo(v->Ui().chart, v), tests1 = Geo(v->Ui().testList, v), meas1 = Geo(v->Ui().measList, v),
                button1 = Geo(v->Ui().receiveButton, v), print1 = Geo(v->Ui().printButton, v);
    // 300 px wider, 200 px higher.
    EXPECT_EQ(chart1.width() - chart0.width(), 300);
    EXPECT_EQ(chart1.height() - chart0.height(), 200);
    EXPECT_EQ(meas1.width() - meas0.width(), 300);
    EXPECT_EQ(meas1.height(), meas0.height());
    EXPECT_EQ(tests1.size(), tests0.size());
    EXPECT_EQ(tests1.left(), tests0.left());
    // Everything below the chart moves down with the bottom edge.
    EXPECT_EQ(tests1.top() - tests0.top(), 200);
    EXPECT_EQ(meas1.top() - meas0.top(), 200);
    EXPECT_EQ(900 - button1.bottom(), 700 - button0.bottom());
    EXPECT_EQ(button1.top() - button0.top(), 200);
    EXPECT_EQ(button1.size(), button0.size());
    EXPECT_EQ(print1.left(), print0.left());
}

TEST(ViewLayout, TipsOfTheTableAndTheChangingTipOfTheShowButton) {
    ViewHolder h;
    CTRVView* v = h.view.get();
    EXPECT_EQ(v->Ui().receiveButton->toolTip(), QStringLiteral("Daten vom Arvento empfangen"));
    EXPECT_EQ(v->Ui().measList->toolTip(), QStringLiteral("Liste mit Messdaten"));
    EXPECT_EQ(v->Ui().userButton->toolTip(), QStringLiteral("Benutzerdaten eingeben"));
    EXPECT_EQ(v->Ui().printButton->toolTip(),
              QStringLiteral("Testprotokoll für die ausgewählen Stufentests ausdrucken"));
    EXPECT_EQ(v->Ui().paramButton->toolTip(), QStringLiteral("Parameter für Stufentest eingeben"));
    EXPECT_EQ(v->Ui().testList->toolTip(), QStringLiteral("Liste mit Tests"));
    EXPECT_EQ(v->Ui().resetButton->toolTip(), QStringLiteral("Auswahl für Anzeige zurücksetzen"));

    // Nothing selected (mode 0): the button redraws.
    EXPECT_EQ(v->ShowButtonTip(), QStringLiteral("Diagramm aktualisieren"));
    // A step test selected, not shown, none shown yet: it would show the curve.
    h.SelectTests({1});
    ASSERT_EQ(v->ShowButtonMode(), 1);
    EXPECT_EQ(v->ShowButtonTip(), QStringLiteral("Kurve im Diagramm anzeigen"));
    // Its row checked: redraw again.
    h.ClickTestCheck(1, true);
    EXPECT_EQ(v->ShowButtonTip(), QStringLiteral("Diagramm aktualisieren"));
    // Two others shown: selecting a third step test leaves the button redrawing.
    h.ClickTestCheck(0, true);
    h.ClickTestCheck(1, false);
    h.ClickTestCheck(2, true);
    h.SelectTests({1});
    EXPECT_EQ(v->ShowButtonMode(), 0);
    EXPECT_EQ(v->ShowButtonTip(), QStringLiteral("Diagramm aktualisieren"));
}

TEST(ViewChart, OneCursorAtATimeAndItsReadOut) {
    ViewHolder h;
    CTRVView* v = h.view.get();
    for (int t : {0, 1}) h.doc->Doc().GetTest(t).m_bParamsEntered = 1;
    h.SelectTests({0});
    h.ClickTestCheck(0, true);
    h.ClickTestCheck(1, true);
    v->OnCursor(1);
    QApplication::processEvents();
    EXPECT_TRUE(v->CursorShown(1));
    EXPECT_TRUE(v->Ui().chart->CursorShown(ToolCursor1));
    EXPECT_TRUE(v->ChartModel().cursorText.lines.size() == 1 &&
                v->ChartModel().cursorText.lines[0].rfind("Cursor 1: v = ", 0) == 0);
    v->OnCursor(2);
    QApplication::processEvents();
    EXPECT_FALSE(v->CursorShown(1));
    EXPECT_TRUE(v->CursorShown(2));
    EXPECT_FALSE(v->Ui().chart->CursorShown(ToolCursor1));
    EXPECT_TRUE(v->Ui().chart->CursorShown(ToolCursor2));
    ASSERT_EQ(v->ChartModel().cursorText.lines.size(), 1u);
    EXPECT_EQ(v->ChartModel().cursorText.lines[0].rfind("Cursor 2: v = ", 0), 0u);
    // Switching the shown cursor off empties the read-out.
    v->OnCursor(2);
    EXPECT_FALSE(v->CursorShown(2));
    EXPECT_TRUE(v->ChartModel().cursorText.lines.empty());
    EXPECT_TRUE(v->Ui().chart->CursorText().isEmpty());
}

TEST(ViewChart, LegendClickReevaluatesAndEditMarksTheDocument) {
    ViewHolder h;
    CTRVView* v = h.view.get();
    h.doc->Doc().GetTest(0).m_bParamsEntered = 1;
    h.SelectTests({0});
    h.ClickTestCheck(0, true);
    h.doc->SetModified(false);
    v->Ui().chart->ToggleSeries(SeriesHr1);
    EXPECT_FALSE(v->ChartModel().series[SeriesPostLoadHr1].active);
    // Heart rate off: the threshold has no heart rate, the result box says none.
    EXPECT_DOUBLE_EQ(v->Workspace().Analysis(0).m_dIansHeartRate, -1.0);
    // Lactate of the first step typed in: stored, chart and list follow, document modified.
    QModelIndex cell = v->Ui().measModel->index(0, 4);
    ASSERT_TRUE(v->Ui().measModel->setData(cell, QStringLiteral("1,7"), Qt::EditRole));
    EXPECT_EQ(h.doc->Doc().GetTest(0).m_Steps[0].m_nLactate, 17);
    EXPECT_NEAR(v->ChartModel().series[SeriesLoad1].points[0].y, 1.7, 1e-12);
    EXPECT_TRUE(h.doc->IsModified());
}
