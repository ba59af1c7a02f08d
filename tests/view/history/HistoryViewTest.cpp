// The "Verlauf" panel on the four-test athlete: table texts, one chart per test type and unit with
// its lines and labelled points, the hint without step tests, a double click, and the printed page.
#include "../../print/PdfText.h"
#include "HistoryDocs.h"
#include "analysis/HistoryChart.h"
#include "print/HistoryPrint.h"
#include "res/Format.h"
#include "res/Strings.h"
#include "view/history/HistoryPanel.h"
#include "view/history/HistoryPlot.h"
#include "view/history/HistoryTableModel.h"

#include <qcustomplot.h>

#include <QListWidget>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

using namespace trv;
using namespace trvtest::history;
namespace fs = std::filesystem;

namespace {

QString Cell(const CHistoryPanel& panel, int row, int column) {
    return panel.m_pModel->data(panel.m_pModel->index(row, column)).toString();
}

int Column(const CHistoryPanel&, int method, int part) { return 4 + 4 * method + part; }

}  // namespace

TEST(HistoryPanel, TableShowsLoadsInTheTestsUnitsWithChangesAndNotDeterminableCells) {
    const CTRVDoc doc = Athlete();
    CHistoryPanel panel;
    panel.SetMethods(DefaultHistoryMethods());
    panel.SetDocument(&doc);
    ASSERT_EQ(panel.m_pModel->rowCount(), 4);
    EXPECT_EQ(panel.m_pStack->currentIndex(), 1);
    EXPECT_EQ(panel.m_pModel->columnCount(), 4 + 4 * 5);
    EXPECT_EQ(Cell(panel, 0, 0), "01.02.2024");
    EXPECT_EQ(Cell(panel, 0, 1), "Ergometer");
    EXPECT_EQ(Cell(panel, 0, 2), "W");
    EXPECT_EQ(Cell(panel, 0, 3), "5");
    EXPECT_EQ(Cell(panel, 2, 1), "Feldtest");
    EXPECT_EQ(panel.m_pModel->headerData(Column(panel, 1, 0), Qt::Horizontal).toString(), "OBLA 4,0\nBelastung");
    // The ergometer never reaches 4 mmol/l.
    EXPECT_EQ(Cell(panel, 0, Column(panel, 1, 0)), "nicht bestimmbar");
    EXPECT_EQ(Cell(panel, 0, Column(panel, 1, 1)), "");

    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18);
    EXPECT_EQ(Cell(panel, 1, Column(panel, 1, 0)), QString::fromStdString(Fmt("%.1f km/h", march)));
    EXPECT_EQ(Cell(panel, 1, Column(panel, 1, 1)), "4,00");
    EXPECT_EQ(Cell(panel, 1, Column(panel, 1, 3)), "");  // the first treadmill test
    const double dhr = HrAt(kRun, kSeptemberHr, september) - HrAt(kRun, kMarchHr, march);
    EXPECT_EQ(Cell(panel, 3, Column(panel, 1, 3)),
              QString::fromStdString(Fmt("%+.1f km/h, %+.0f S/min", september - march, dhr)));
    EXPECT_EQ(Cell(panel, 3, Column(panel, 1, 2)),
              QString::fromStdString(Fmt("%.0f", HrAt(kRun, kSeptemberHr, september))));
}

TEST(HistoryPanel, OneChartPerTypeAndUnitWithALineAndLabelsPerMethod) {
    const CTRVDoc doc = Athlete();
    CHistoryPanel panel;
    panel.SetMethods({"obla_4.0", "dmax"});
    panel.SetDocument(&doc);
    QCustomPlot* plot = panel.m_pPlot->Plot();
    ASSERT_EQ(plot->axisRects().size(), 3);  // ergometer W, treadmill km/h, field test km/h
    EXPECT_EQ(plot->graphCount(), 3 * 2);
    // Every graph stays on its own chart's axes.
    for (int r = 0; r < 3; ++r) {
        const QList<QCPGraph*> graphs = panel.m_pPlot->ChartAxes(size_t(r))->graphs();
        ASSERT_EQ(graphs.size(), 2);
        EXPECT_EQ(graphs[0]->name(), "OBLA 4,0");
        EXPECT_EQ(graphs[1]->name(), "Dmax");
    }
    const QList<QCPGraph*> bike = panel.m_pPlot->ChartAxes(0)->graphs();
    EXPECT_EQ(bike[0]->dataCount(), 0);  // OBLA not determinable: no point
    EXPECT_EQ(bike[1]->dataCount(), 1);
    const QList<QCPGraph*> run = panel.m_pPlot->ChartAxes(1)->graphs();
    ASSERT_EQ(run[0]->dataCount(), 2);
    EXPECT_NEAR(run[0]->data()->at(0)->value, Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18), 1e-6);
    EXPECT_LT(run[0]->data()->at(0)->key, run[0]->data()->at(1)->key);
    EXPECT_EQ(run[0]->keyAxis()->label(), "Testdatum");
    EXPECT_EQ(run[0]->valueAxis()->label(), "Belastung [km/h]");
    EXPECT_EQ(plot->locale().toString(12.5), "12,5");  // tick labels with a decimal comma
    // One label per point: 0 + 1 (ergometer), 2 + 2 (treadmill), 1 + 1 (field test).
    EXPECT_EQ(plot->itemCount(), 7);

    // Unticking a method takes its lines away.
    panel.m_pMethods->item(MethodIndex("dmax"))->setCheckState(Qt::Unchecked);
    EXPECT_EQ(plot->graphCount(), 3);
}

TEST(HistoryPanel, AHintInsteadOfChartsWithoutStepTestsAndADoubleClickNamesTheTest) {
    CTRVDoc empty;
    CHistoryPanel panel;
    panel.SetDocument(&empty);
    EXPECT_EQ(panel.m_pStack->currentIndex(), 0);
    EXPECT_TRUE(panel.m_pHint->text().startsWith("Das Dokument enthält keinen Stufentest"));
    EXPECT_FALSE(panel.m_pPrint->isEnabled());

    const CTRVDoc doc = Athlete();
    panel.SetDocument(&doc);
    EXPECT_EQ(panel.m_pStack->currentIndex(), 1);
    panel.resize(900, 600);
    panel.show();
    QSignalSpy spy(&panel, &CHistoryPanel::testActivated);
    QTableView* table = panel.m_pTable;
    const QRect cell = table->visualRect(panel.m_pModel->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.first().at(0).toInt(), 2);  // the March test is test 2 of the document
    // Enter on the current row does the same.
    table->setCurrentIndex(panel.m_pModel->index(3, 0));
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.last().at(0).toInt(), 1);
}

TEST(HistoryPrint, OnePageWithAthleteTableAndCharts) {
    if (!trvtest::HavePoppler()) GTEST_SKIP() << "no poppler";
    CTRVDoc doc = Athlete();
    doc.m_UserData.m_strFirstName = "Anna";
    doc.m_UserData.m_strLastName = "Berger";
    doc.m_UserData.m_dWeight = 61.4;
    CHistoryPanel panel;
    panel.SetMethods(DefaultHistoryMethods());
    panel.SetDocument(&doc);
    HistoryPrintOptions opt;
    opt.today = COleDateTime::FromParts(2024, 12, 1, 12, 0, 0);
    opt.drawCharts = [&](QPainter& p, const QRectF& r) { CHistoryPlot::Print(panel.m_pPlot->Charts(), p, r); };
    const fs::path pdf = fs::temp_directory_path() / ("trv-history-" + std::to_string(::getpid()) + ".pdf");
    ASSERT_EQ(WriteHistoryPdf(QString::fromStdString(pdf.string()), doc, panel.m_pModel->Rows(),
                              panel.m_pModel->Methods(), opt)
                  .message,
              "");
    const std::string info = trvtest::RunShell("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;  // five methods: landscape
    const std::string text = trvtest::PageText(pdf, 0);
    fs::remove(pdf);
    for (const std::string& part :
         {std::string("Anna Berger"), std::string("Verlauf vom 01.12.2024"), std::string("Testperson:"),
          std::string("61 kg"), std::string("Schwellen im Verlauf:"), std::string("01.02.2024"),
          std::string("01.09.2024"), std::string("Ergometer"), std::string("Feldtest"), std::string("nicht bestimmbar"),
          std::string("LTP 2"), std::string("Verlaufsdiagramme:"), std::string("Laufband (km/h)"),
          std::string("Testdatum")})
        EXPECT_NE(text.find(part), std::string::npos) << "missing: " << part << "\n" << text;
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    const double september = Crossing(LsCubic(kRun, kSeptember), 4.0, 16, 18);
    EXPECT_NE(text.find(Fmt("%.1f km/h", march)), std::string::npos);
    EXPECT_NE(text.find(Fmt("%+.1f km/h", september - march)), std::string::npos);

    // Two methods fit portrait.
    ASSERT_TRUE(
        WriteHistoryPdf(QString::fromStdString(pdf.string()), doc, panel.m_pModel->Rows(), {"ians", "dmax"}, opt));
    EXPECT_NE(trvtest::RunShell("pdfinfo '" + pdf.string() + "'").find("595 x 842 pts"), std::string::npos);
    fs::remove(pdf);
}

TEST(HistoryPrint, ChartsStandSideBySideOnlyWhereThePageIsWideAndLow) {
    // A landscape page's rest (wide and low) takes the three charts in a row, a portrait page's
    // rest stacks them; a single chart never splits.
    EXPECT_EQ(CHistoryPlot::ColumnsFor(3, QSizeF(760, 110)), 3);
    EXPECT_EQ(CHistoryPlot::ColumnsFor(3, QSizeF(520, 620)), 1);
    EXPECT_EQ(CHistoryPlot::ColumnsFor(1, QSizeF(760, 110)), 1);
    EXPECT_EQ(CHistoryPlot::ColumnsFor(0, QSizeF(760, 110)), 1);
    // The screen's legends wrap to the width and come back to one line when it grows.
    CHistoryPanel panel;
    const CTRVDoc doc = Athlete();
    panel.SetMethods(DefaultHistoryMethods());
    panel.SetDocument(&doc);
    panel.show();
    panel.m_pPlot->resize(260, 900);
    const QCPLegend* legend = panel.m_pPlot->ChartAxes(0)->parentPlot()->findChild<QCPLegend*>();
    ASSERT_NE(legend, nullptr);
    EXPECT_LT(legend->wrap(), 5);
    panel.m_pPlot->resize(1600, 900);
    EXPECT_EQ(legend->wrap(), 5);
}

TEST(HistoryPrint, InEnglishFromAGermanWindow) {
    // What "Sprache des Ausdrucks: English" prints from a program speaking German: the page and charts made
    // in the printout's language, the window's panel untouched.
    if (!trvtest::HavePoppler()) GTEST_SKIP() << "no poppler";
    CTRVDoc doc = Athlete();
    doc.m_UserData.m_strFirstName = "Anna";
    doc.m_UserData.m_strLastName = "Berger";
    CHistoryPanel panel;
    panel.SetMethods(DefaultHistoryMethods());
    panel.SetDocument(&doc);
    HistoryPrintOptions opt;
    opt.today = COleDateTime::FromParts(2024, 12, 1, 12, 0, 0);
    const std::vector<HistoryRow> rows = panel.m_pModel->Rows();
    opt.drawCharts = [&](QPainter& p, const QRectF& r) { CHistoryPlot::Print(HistoryCharts(rows), p, r); };
    const fs::path pdf = fs::temp_directory_path() / ("trv-history-en-" + std::to_string(::getpid()) + ".pdf");
    {
        const LangScope english(Lang::en);
        ASSERT_EQ(
            WriteHistoryPdf(QString::fromStdString(pdf.string()), doc, rows, panel.m_pModel->Methods(), opt).message,
            "");
    }
    const std::string text = trvtest::PageText(pdf, 0);
    fs::remove(pdf);
    for (const char* part :
         {"History as of 01/12/2024", "Athlete:", "Thresholds over time:", "01/02/2024", "Field test",
          "not determinable", "History charts:", "Treadmill (km/h)", "Test date", " bpm"})
        EXPECT_NE(text.find(part), std::string::npos) << "missing: " << part << "\n" << text;
    for (const char* german : {"Verlauf", "Testperson", "Laufband", "S/min"})
        EXPECT_EQ(text.find(german), std::string::npos) << german << "\n" << text;
    const double march = Crossing(LsCubic(kRun, kMarch), 4.0, 16, 18);
    char load[32];
    std::snprintf(load, sizeof load, "%.1f km/h", march);
    EXPECT_NE(text.find(load), std::string::npos) << load;
    // The window's table still speaks German.
    bool treadmill = false;
    for (int r = 0; r < panel.m_pModel->rowCount(); ++r) {
        EXPECT_NE(Cell(panel, r, 1), QStringLiteral("Treadmill"));
        treadmill = treadmill || Cell(panel, r, 1) == QStringLiteral("Laufband");
    }
    EXPECT_TRUE(treadmill);
}
