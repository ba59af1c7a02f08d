// The document window at the sizes a lab meets: a large screen, a 1024×600 netbook and the main
// window's minimum. Labels stay whole, the chart stays readable, the lists give way first.
#include "ViewFixture.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "res/Strings.h"
#include "view/history/HistoryDock.h"
#include "view/history/HistoryIntervals.h"
#include "view/history/HistoryPanel.h"
#include "view/library/AthletesDock.h"
#include "view/lists/TestListModel.h"
#include "view/widgets/WrapButton.h"
#include "view/window/DocHandle.h"
#include "view/window/TChart.h"
#include "view/window/TRVView.h"
#include "view/window/ThresholdPanel.h"
#include "view/window/WorkspaceSplitter.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QMdiArea>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

struct SizedFrame {
    SizedFrame() {
        frame.show();
        CChildFrame* child = frame.NewDocument();
        viewtest::FillDocument(child->Doc()->Doc());
        child->View()->MarkModified();
        v = child->View();
    }
    ~SizedFrame() {
        for (CDocHandle* d : frame.Documents()) d->SetModified(false);
    }
    void Resize(QSize size) {
        frame.resize(size);
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    std::vector<CWrapButton*> Buttons() const {
        return {static_cast<CWrapButton*>(v->Ui().receiveButton), static_cast<CWrapButton*>(v->Ui().paramButton),
                static_cast<CWrapButton*>(v->Ui().userButton), static_cast<CWrapButton*>(v->Ui().showButton),
                static_cast<CWrapButton*>(v->Ui().printButton)};
    }
    CMainFrame frame;
    CTRVView* v = nullptr;
};

// The window's labels and headings in either language (English words are longer in places).
class WindowSizeIn : public ::testing::TestWithParam<trv::Lang> {
protected:
    const trv::LangScope m_lang{GetParam()};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Languages, WindowSizeIn, ::testing::Values(trv::Lang::de, trv::Lang::en),
                         [](const auto& info) { return std::string(trv::LangCode(info.param)); });

TEST(WindowSize, TheSplitRuleGivesTheListsTheirHeightWhileTheChartKeepsItsShare) {
    // Worked by hand: chart floor = min(320, total * 3 / 5), lists = max(min, min(wanted, total - floor)).
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(700, 230, 120, 320), 230);  // floor 320: room for 380
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(455, 230, 120, 320), 182);  // floor 273
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(300, 230, 120, 320), 120);  // floor 180: exactly the least
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(250, 230, 120, 320), 120);  // floor 150 would leave 100
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(800, 400, 120, 320), 400);  // a dragged height that fits
    EXPECT_EQ(CWorkspaceSplitter::ListHeightFor(800, 600, 120, 320), 480);
}

TEST_P(WindowSizeIn, AtTheNetbookSizeEveryLabelFitsOnOneLineAndTheChartLeadsTheLists) {
    SizedFrame f;
    f.Resize({1024, 600});
    ASSERT_EQ(f.frame.size(), QSize(1024, 600));
    for (CWrapButton* b : f.Buttons()) {
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        EXPECT_FALSE(b->Wrapped()) << b->text().toStdString();
    }
    EXPECT_GE(f.v->Ui().chart->height(), 250);
    EXPECT_GT(f.v->Ui().chart->height(), f.v->Ui().splitter->ListHeight());
    // The lists still show a header and several rows.
    EXPECT_GE(f.v->Ui().testList->height(), 88);
    EXPECT_GE(f.v->Ui().measList->height(), 88);
}

TEST_P(WindowSizeIn, AtTheMinimumSizeLabelsWrapButStayWholeAndNothingIsCut) {
    SizedFrame f;
    f.Resize({400, 300});
    const QSize min = f.frame.size();
    EXPECT_EQ(min, f.frame.minimumSize());
    EXPECT_LE(min.width(), 1024);
    EXPECT_LE(min.height(), 600);
    for (CWrapButton* b : f.Buttons()) EXPECT_GE(b->width(), b->minimumSizeHint().width()) << b->text().toStdString();
    // The document window fits the area: no control hangs over its edge.
    const QSize area = f.frame.MdiArea()->viewport()->size();
    EXPECT_LE(f.v->minimumSizeHint().width(), area.width());
    EXPECT_LE(f.v->minimumSizeHint().height(), area.height());
    EXPECT_LE(f.v->Ui().printButton->mapTo(f.v, QPoint(f.v->Ui().printButton->width(), 0)).x(), f.v->width());
    EXPECT_GE(f.v->Ui().chart->height(), 180);
    EXPECT_GE(f.v->Ui().chart->height(), f.v->Ui().splitter->ListHeight());
}

TEST_P(WindowSizeIn, AHeightTheUserDragsTheListsToIsKeptWhileItFits) {
    SizedFrame f;
    f.Resize({1400, 1000});
    CWorkspaceSplitter* s = f.v->Ui().splitter;
    const int total = s->sizes()[0] + s->sizes()[1];
    s->setSizes({total - 380, 380});
    emit s->splitterMoved(total - 380, 1);
    f.Resize({1400, 950});
    EXPECT_EQ(s->ListHeight(), 380);
    // Smaller: the chart keeps its floor, the lists give what it needs.
    f.Resize({1024, 600});
    EXPECT_LT(s->ListHeight(), 380);
    EXPECT_GE(f.v->Ui().chart->height(), 250);
}

TEST(WindowSize, ANarrowButtonShowsItsLabelOnTwoLinesWhereTheLongerLineIsShortest) {
    CWrapButton b;
    b.setText(QStringLiteral("Testparameter editieren"));
    const QFontMetrics fm = b.fontMetrics();
    EXPECT_GE(b.minimumSizeHint().width(), fm.horizontalAdvance(QStringLiteral("Testparameter")));
    EXPECT_LT(b.minimumSizeHint().width(), fm.horizontalAdvance(b.text()));
    EXPECT_EQ(b.minimumSizeHint().height(), b.sizeHint().height());
    b.resize(b.minimumSizeHint());
    EXPECT_TRUE(b.Wrapped());
    b.resize(b.sizeHint());
    EXPECT_FALSE(b.Wrapped());

    EXPECT_EQ(CWrapButton::TwoLines(QStringLiteral("Testparameter editieren")),
              QStringLiteral("Testparameter\neditieren"));
    EXPECT_EQ(CWrapButton::TwoLines(QStringLiteral("Test anzeigen/ neu zeichnen")),
              QStringLiteral("Test anzeigen/\nneu zeichnen"));
    EXPECT_EQ(CWrapButton::TwoLines(QStringLiteral("Protokolldruck")), QStringLiteral("Protokolldruck"));
}

namespace {

// Whether every column of `t` is at least as wide as its heading's text (with a little padding).
void ExpectHeadingsWhole(const QTableView* t) {
    const QFontMetrics fm(t->horizontalHeader()->font());
    for (int c = 0; c < t->model()->columnCount(); ++c) {
        const QString head = t->model()->headerData(c, Qt::Horizontal).toString();
        int widest = 0;  // a heading may run over two lines
        for (const QString& line : head.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
        EXPECT_GE(t->columnWidth(c), widest + 6) << head.toStdString();
    }
}

}  // namespace

TEST_P(WindowSizeIn, WithTheVerlaufOpenTheChartKeepsItsRoomAndNoHeadingIsCut) {
    SizedFrame f;
    for (int t : {0, 1, 2}) f.v->GetDocument().GetTest(t).m_bParamsEntered = 1;
    f.v->MarkModified();
    f.frame.HistoryDock()->show();
    f.Resize({1600, 1000});
    // The dock takes at most two fifths of the frame; the chart beside the thresholds stays wide
    // enough for its three regions' axis labels and the result boxes.
    EXPECT_LE(f.frame.HistoryDock()->width(), 1600 * 2 / 5);
    EXPECT_GE(f.v->Ui().chart->width(), 520);
    EXPECT_GE(f.v->Ui().chart->height(), 400);
    // A narrower width the user chose is kept when the frame grows.
    f.frame.resizeDocks({f.frame.HistoryDock()}, {420}, Qt::Horizontal);
    f.Resize({1600, 1001});
    EXPECT_NEAR(f.frame.HistoryDock()->width(), 420, 4);

    // The Verlauf table: every heading whole.
    const QTableView* history = f.frame.HistoryDock()->Panel()->m_pTable;
    ASSERT_GT(history->model()->rowCount(), 0);
    ASSERT_GT(history->model()->columnCount(), 2);
    ExpectHeadingsWhole(history);
    // The intervals come in later and set the rows again (which resets the columns): still whole.
    auto* intervals = f.frame.HistoryDock()->Panel()->findChild<CHistoryIntervals*>();
    ASSERT_NE(intervals, nullptr);
    bool arrived = false;
    QObject::connect(intervals, &CHistoryIntervals::done, &f.frame, [&arrived] { arrived = true; });
    f.frame.HistoryDock()->Panel()->Refresh();
    QElapsedTimer waited;
    waited.start();
    while (!arrived && waited.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(arrived);
    QApplication::processEvents();
    ExpectHeadingsWhole(history);

    f.frame.HistoryDock()->hide();
}

TEST(WindowSize, TheVerlaufDockGivesWayWhereTheDocumentWindowWouldNotFit) {
    // Worked by hand: the Verlauf takes two fifths (300..640), the Athleten dock a third (280..560),
    // less where the document needs the room, never less than their own least width.
    const auto verlauf = [](int frame, int room) {
        return CMainFrame::DockWidthBeside(CMainFrame::HistoryDockWidth(frame), frame, room, 280);
    };
    EXPECT_EQ(verlauf(1600, 700), 640);
    EXPECT_EQ(verlauf(1024, 610), 409);
    EXPECT_EQ(verlauf(1024, 700), 324);
    EXPECT_EQ(verlauf(800, 700), 280);
    EXPECT_EQ(CMainFrame::AthletesDockWidth(1600), 533);
    EXPECT_EQ(CMainFrame::AthletesDockWidth(1024), 341);
    EXPECT_EQ(CMainFrame::AthletesDockWidth(2560), 560);
    EXPECT_EQ(CMainFrame::DockWidthBeside(CMainFrame::AthletesDockWidth(1280), 1280 - 500, 600, 250), 250);
    // The thresholds panel: what its tables want while the chart keeps 55 % of the row (at least 320).
    EXPECT_EQ(CThresholdPanel::WidthIn(1580, 450, 320), 450);
    EXPECT_EQ(CThresholdPanel::WidthIn(900, 450, 320), 405);  // chart 495
    EXPECT_EQ(CThresholdPanel::WidthIn(600, 450, 320), 270);  // chart 330
    EXPECT_EQ(CThresholdPanel::WidthIn(560, 450, 320), CThresholdPanel::kLeastWidth);
    EXPECT_EQ(CThresholdPanel::WidthIn(1580, 200, 320), CThresholdPanel::kLeastWidth);
}

TEST(WindowSize, AtTheNetbookSizeWithTheVerlaufOpenTheDocumentWindowFitsBesideIt) {
    SizedFrame f;
    for (int t : {0, 1, 2}) f.v->GetDocument().GetTest(t).m_bParamsEntered = 1;
    f.v->MarkModified();
    // Two tests shown: the thresholds panel with its tables, fit line and zone controls.
    for (int t : {0, 1}) f.v->OnTestCheckChange(t, true);
    ASSERT_GT(f.v->Ui().thresholds->Tabs()->count(), 0);
    f.Resize({1024, 600});
    f.frame.HistoryDock()->show();
    f.Resize({1024, 601});
    const QWidget* area = f.frame.MdiArea()->viewport();
    // The document window lies wholly inside the area beside the dock, and no control hangs over its edge.
    const QRect view(f.v->mapTo(area, QPoint(0, 0)), f.v->size());
    EXPECT_LE(view.right(), area->width()) << view.width() << " in " << area->width();
    EXPECT_GE(f.v->width(), f.v->minimumSizeHint().width());
    EXPECT_LE(f.v->Ui().printButton->mapTo(f.v, QPoint(f.v->Ui().printButton->width(), 0)).x(), f.v->width());
    EXPECT_LE(f.v->Ui().thresholds->mapTo(f.v, QPoint(f.v->Ui().thresholds->width(), 0)).x(), f.v->width());
    EXPECT_GE(f.v->Ui().chart->width(), f.v->Ui().chart->minimumWidth());
    // The dock keeps what it needs itself.
    EXPECT_GE(f.frame.HistoryDock()->width(), f.frame.HistoryDock()->minimumSizeHint().width());
    f.frame.HistoryDock()->hide();
}

TEST(WindowSize, TheAthletenDockTakesAThirdAndTheDocumentWindowFitsBesideIt) {
    SizedFrame f;
    f.Resize({1280, 900});
    f.frame.AthletesDock()->show();
    f.Resize({1280, 901});
    EXPECT_LE(f.frame.AthletesDock()->width(), CMainFrame::AthletesDockWidth(1280));
    const QWidget* area = f.frame.MdiArea()->viewport();
    const QRect view(f.v->mapTo(area, QPoint(0, 0)), f.v->size());
    EXPECT_LE(view.right(), area->width()) << view.width() << " in " << area->width();
    f.frame.AthletesDock()->hide();
}

namespace {

// Whether every column of the thresholds tables lies inside their visible part (no scrolling needed).
void ExpectThresholdColumnsWhole(CThresholdPanel* panel, const char* where) {
    ASSERT_GT(panel->Tabs()->count(), 0) << where;
    for (int tab = 0; tab < panel->Tabs()->count(); ++tab) {
        panel->Tabs()->setCurrentIndex(tab);
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        for (const QTableWidget* t : {panel->MethodTable(tab), panel->ZoneTable(tab)}) {
            if (!t->isVisible()) continue;
            int sum = 0;
            for (int c = 0; c < t->columnCount(); ++c) sum += t->columnWidth(c);
            EXPECT_LE(sum, t->viewport()->width()) << where << ", tab " << tab;
        }
    }
}

}  // namespace

TEST(WindowSize, OnALargeScreenTheThresholdColumnsShowWhole) {
    SizedFrame f;
    f.v->GetDocument().GetTest(0).m_bParamsEntered = 1;
    f.v->GetDocument().GetTest(1).m_bParamsEntered = 1;
    f.v->MarkModified();
    for (int t : {0, 1}) f.v->OnTestCheckChange(t, true);
    f.Resize({1600, 1000});
    ExpectThresholdColumnsWhole(f.v->Ui().thresholds, "1600x1000");
    // With the Verlauf open the chart keeps the larger part of the row.
    f.frame.HistoryDock()->show();
    f.Resize({1600, 1001});
    EXPECT_GE(f.v->Ui().chart->width(), f.v->Ui().thresholds->width());
    f.frame.HistoryDock()->hide();
}
