// The protocol as it comes out: two pages, what they say, where the chart goes, the logo.
#include "PdfText.h"
#include "ProtocolDocs.h"
#include "analysis/ChartModel.h"
#include "data/TrvFile.h"
#include "print/Protocol.h"
#include "print/ProtocolLayout.h"
#include "print/ProtocolPaint.h"
#include "workspace/Workspace.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace trv;
using namespace trvtest;

namespace {

class ProtocolPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("trv-print-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

}  // namespace

TEST_F(ProtocolPdfTest, TwoPagesWithAthleteAnalyserResultsAndTables) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    CTRVDoc doc = trvtest::ProtocolDoc();
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({0, 1}, FitCubic, ModelMader);
    ProtocolOptions opt;
    opt.analysis = ws.AnalysisLookup();
    opt.today = COleDateTime::FromParts(2024, 6, 1, 12, 0, 0);
    const fs::path pdf = dir / "protokoll.pdf";
    ASSERT_EQ(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {1, 0}, opt).message, "");
    EXPECT_EQ(PageCount(pdf), 2);

    const std::string p1 = PageText(pdf, 1);
    EXPECT_HAS(p1, "Anna Berger");
    EXPECT_HAS(p1, "Protokoll vom 01.06.2024");
    EXPECT_HAS(p1, "Testperson:");
    EXPECT_HAS(p1, "Lindenweg 4");
    EXPECT_HAS(p1, "79098 Freiburg");
    EXPECT_HAS(p1, "Geb.-Datum: 15.03.1990");
    EXPECT_HAS(p1, "Gewicht: 73 kg");
    EXPECT_HAS(p1, "Größe: 171 cm");
    EXPECT_HAS(p1, "Geschlecht: weiblich");
    EXPECT_HAS(p1, "Geräte-ID: ARV0012345");
    EXPECT_HAS(p1, "Firmware: V3,05");
    EXPECT_HAS(p1, "Zusatzbemerkungen zur Testperson:");
    EXPECT_HAS(p1, "Läuft seit 2019 Halbmarathon.");
    EXPECT_HAS(p1, "Leistungskurve:");
    // Test 1 is the first shown test in document order, whatever order the list gives.
    EXPECT_HAS(p1, "Test 1 (Feldtest)");
    EXPECT_HAS(p1, "Test 2 (Laufband)");
    EXPECT_HAS(p1, "Streckenlänge: 400 m");
    EXPECT_HAS(p1, "Schwellwertmodell: Mader-Modell");
    // Field test: 4 mmol/l at 4.0 m/s, 160 beats/min, 250 s per 1000 m, 100 s per 400 m.
    EXPECT_HAS(p1, "Laktat IANS: 4,00 mmol/l");
    EXPECT_HAS(p1, "v an IANS: 4,00 m/s");
    EXPECT_HAS(p1, "t (1000 m): 04:10");
    EXPECT_HAS(p1, "t ( 400 m): 01:40");
    EXPECT_HAS(p1, "HR an IANS: 160 S/min");
    EXPECT_HAS(p1, "Seite 1 / 2");
    EXPECT_EQ(p1.find("Messwerte"), std::string::npos);

    const std::string p2 = PageText(pdf, 2);
    EXPECT_HAS(p2, "Anna Berger");
    EXPECT_HAS(p2, "Messwerte (Test 1):");
    EXPECT_HAS(p2, "Messwerte (Test 2):");
    EXPECT_HAS(p2, "Stufendauer");
    EXPECT_HAS(p2, "[m/s]");
    EXPECT_HAS(p2, "02:40 (PC) 2,5 1,3 130");
    EXPECT_HAS(p2, "03:00 (AV) 2,5 1,1 128");
    EXPECT_HAS(p2, "02:00 (AV) 3,8 (4,0) 4,8 164");
    EXPECT_HAS(p2, "AFL-Zeit");
    EXPECT_HAS(p2, "08:15 - 120");
    EXPECT_HAS(p2, "Seite 2 / 2");
    EXPECT_EQ(p2.find("Testperson"), std::string::npos);
}

TEST_F(ProtocolPdfTest, ANotDeterminableThresholdAndNoHeartRateLine) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    CTRVDoc doc = trvtest::ProtocolDoc();
    // Lactate never reaches 4 mmol/l.
    for (PCMDataType& m : doc.GetTest(0).m_Steps)
        if (m.m_nMeasType == MeasLoad) m.m_nLactate = static_cast<uint16_t>(m.m_nLactate / 3);
    CCommandHistory history;
    CWorkspace ws(doc, history);
    ws.ShowOnly({0, 1}, FitCubic, ModelMader);
    TestAnalysis second = ws.Analysis(1);
    second.m_dIansHeartRate = -1.0;
    ProtocolOptions opt;
    opt.analysis = [&](int test) -> const TestAnalysis& { return test == 1 ? second : ws.Analysis(test); };
    const fs::path pdf = dir / "p.pdf";
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {0, 1}, opt));
    const std::string p1 = PageText(pdf, 1);
    EXPECT_HAS(p1, "IANS nicht bestimmbar!");
    EXPECT_HAS(p1, "Laktat IANS:");  // test 2 still has its threshold
    EXPECT_EQ(p1.find("HR an IANS"), std::string::npos);
}

TEST_F(ProtocolPdfTest, AnAthleteWithoutBirthDateWeightOrHeightPrintsThemEmpty) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    CTRVDoc doc = trvtest::ProtocolDoc();
    doc.m_UserData.m_BirthDate = COleDateTime(0.0);  // as a download leaves it
    doc.m_UserData.m_dWeight = 0.0;
    doc.m_UserData.m_dHeight = 0.0;
    const fs::path pdf = dir / "p.pdf";
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {0}, {}));
    const std::string p1 = PageText(pdf, 1);
    EXPECT_HAS(p1, "Geb.-Datum: Gewicht: Größe: Geschlecht: weiblich");
    EXPECT_EQ(p1.find("1899"), std::string::npos);
}

TEST_F(ProtocolPdfTest, NoShownTestLeavesTheBoxesEmpty) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    const CTRVDoc doc = trvtest::ProtocolDoc();
    const fs::path pdf = dir / "p.pdf";
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {}, {}));
    EXPECT_EQ(PageCount(pdf), 2);
    const std::string p1 = PageText(pdf, 1);
    EXPECT_HAS(p1, "Testperson:");
    EXPECT_EQ(p1.find("Ergebnisse"), std::string::npos);
    EXPECT_EQ(p1.find("Test 1"), std::string::npos);
    const std::string p2 = PageText(pdf, 2);
    EXPECT_EQ(p2.find("Messwerte"), std::string::npos);
    EXPECT_HAS(p2, "Seite 2 / 2");
}

TEST_F(ProtocolPdfTest, LogoFromTheStartDirectoryOnlyWhenPresent) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    const CTRVDoc doc = trvtest::ProtocolDoc();
    ProtocolOptions opt;
    opt.logoDir = QString::fromStdString(dir.string());
    const auto images = [](const fs::path& pdf) {
        const std::string list = RunShell("pdfimages -list '" + pdf.string() + "' 2>/dev/null");
        int lines = 0;
        for (char c : list) lines += c == '\n';
        return lines - 2;  // two header lines
    };
    const fs::path without = dir / "without.pdf";
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(without.string()), doc, {0}, opt));
    EXPECT_EQ(images(without), 0);

    QImage logo(120, 60, QImage::Format_RGB32);
    logo.fill(QColor(0x20, 0x60, 0xA0));
    ASSERT_TRUE(logo.save(QString::fromStdString((dir / "logo5.png").string())));
    const fs::path with = dir / "with.pdf";
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(with.string()), doc, {0}, opt));
    EXPECT_EQ(images(with), 2);  // once on each page
}

TEST_F(ProtocolPdfTest, UnwritablePathIsReportedAndNothingIsLeft) {
    const CTRVDoc doc = trvtest::ProtocolDoc();
    const fs::path pdf = dir / "missing-dir" / "p.pdf";
    const Result written = WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {0}, {});
    EXPECT_FALSE(written);
    EXPECT_NE(written.message.find("missing-dir/p.pdf"), std::string::npos) << written.message;
    EXPECT_FALSE(fs::exists(dir / "missing-dir"));
}

TEST(ProtocolPageTest, ChartGoesBetweenItsTitleAndTheTestBoxes) {
    // A page of 2100 x 2970: the chart band starts at y1 = 925 and is 1015 high; the chart keeps the
    // title's height t free above and below: left 210, width 1785, top 925 + t, bottom 1940 - t.
    QImage page(2100, 2970, QImage::Format_RGB32);
    page.fill(Qt::white);
    const CTRVDoc doc = trvtest::ProtocolDoc();
    ProtocolOptions opt;
    QRectF got;
    int calls = 0;
    opt.drawChart = [&](QPainter& p, const QRectF& r) {
        got = r;
        ++calls;
        p.fillRect(r, QColor(0, 0, 255));
    };
    {
        QPainter p(&page);
        PaintProtocolPage(p, page.rect(), 1, doc, {0, 1}, opt);
        PaintProtocolPage(p, page.rect(), 2, doc, {0, 1}, opt);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(got.left(), 210);
    EXPECT_EQ(got.width(), 1785);
    const double t = got.top() - 925;
    EXPECT_GT(t, 10);
    EXPECT_LT(t, 200);
    EXPECT_DOUBLE_EQ(got.bottom(), 1940 - t);
    // The page frame runs along the left margin; the chart colour does not reach the test boxes.
    EXPECT_EQ(page.pixelColor(210, 1500), QColor(Qt::black));
    EXPECT_EQ(page.pixelColor(1000, 1960), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(1000, static_cast<int>(got.center().y())), QColor(0, 0, 255));
}

TEST(ProtocolPageTest, TabsKeepLabelAndValueOnOneLineAtPrinterResolution) {
    // Two labelled lines in a box 4000 units wide need two lines' height at 96 and at 1200 dpi.
    for (int dpi : {96, 1200}) {
        QImage image(4000, 3000, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(MakeProtocolFont(ProtocolFont::Body, p));
        const int line = QFontMetrics(p.font(), p.device()).lineSpacing();
        const int h = DrawTextBlock(p, QRect(0, 0, 4000, 3000), QStringLiteral("Gewicht:\t73 kg\nGröße:\t\t171 cm"));
        EXPECT_LT(h, 5 * line / 2) << dpi << " dpi";
        EXPECT_GT(h, 3 * line / 2) << dpi << " dpi";
    }
}

TEST(ProtocolPageTest, PrintChartModelHidesTheScreenOnlyParts) {
    CChartModel shown;
    shown.ApplyStartup();
    shown.tools[ToolCursor1].active = true;
    shown.tools[ToolResult1].active = true;
    shown.tools[ToolDeviceText].active = true;
    shown.tools[ToolZoneBand].transparency = 70;
    const CChartModel printed = PrintChartModel(shown);
    EXPECT_FALSE(printed.tools[ToolCursor1].active);
    EXPECT_FALSE(printed.tools[ToolCursor2].active);
    // The result boxes go, their points stay.
    EXPECT_TRUE(printed.tools[ToolResult1].active);
    EXPECT_FALSE(printed.tools[ToolResult1].boxShown);
    EXPECT_FALSE(printed.tools[ToolResult2].boxShown);
    EXPECT_FALSE(printed.tools[ToolDeviceText].active);
    EXPECT_FALSE(printed.tools[ToolBand2].active);
    EXPECT_EQ(printed.tools[ToolZoneBand].transparency, 0);
    EXPECT_EQ(printed.axes[AxisLeft].titleFontSize, 14);
    EXPECT_EQ(printed.axes[AxisBottom].titleFontSize, 14);
    // The shown chart keeps its state.
    EXPECT_TRUE(shown.tools[ToolCursor1].active);
    EXPECT_EQ(shown.tools[ToolZoneBand].transparency, 70);
}

#ifdef TRV_CLI
TEST_F(ProtocolPdfTest, CommandLinePrintsTheListedTests) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    CTRVDoc doc = trvtest::ProtocolDoc();
    const fs::path file = dir / "athlet.trv";
    ASSERT_TRUE(SaveDocument(doc, file.string()).ok);
    const fs::path pdf = dir / "out.pdf";
    int status = -1;
    RunShell(std::string(TRV_CLI) + " print '" + file.string() + "' --tests 1,0 -o '" + pdf.string() + "' 2>/dev/null",
             &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(PageCount(pdf), 2);
    const std::string p1 = PageText(pdf, 1);
    EXPECT_HAS(p1, "Anna Berger");
    EXPECT_HAS(p1, "Geräte-ID: ARV0012345");
    EXPECT_HAS(p1, "v an IANS: 4,00 m/s");
    EXPECT_HAS(p1, "HR an IANS: 160 S/min");
    const std::string p2 = PageText(pdf, 2);
    EXPECT_HAS(p2, "02:00 (AV) 3,8 (4,0) 4,8 164");
    EXPECT_HAS(p2, "AFL 1 02:30 5,6 141");
}

TEST_F(ProtocolPdfTest, CommandLineErrors) {
    const fs::path file = dir / "athlet.trv";
    CTRVDoc doc = trvtest::ProtocolDoc();
    ASSERT_TRUE(SaveDocument(doc, file.string()).ok);
    const std::string cli = std::string(TRV_CLI) + " print ";
    const std::string out = " -o '" + (dir / "x.pdf").string() + "'";
    const std::string f = "'" + file.string() + "'";
    // No output file, no such test, no test numbers, no document, an output folder that is not there.
    const std::pair<std::string, int> cases[] = {{f + " --tests 0", 1},
                                                 {f + " --tests 5" + out, 1},
                                                 {f + " --tests a,b" + out, 1},
                                                 {"'" + (dir / "none.trv").string() + "' --tests 0" + out, 2},
                                                 {f + " --tests 0 -o '" + (dir / "no" / "x.pdf").string() + "'", 2}};
    for (const auto& [args, expected] : cases) {
        int status = -1;
        RunShell(cli + args + " 2>/dev/null", &status);
        EXPECT_EQ(status, expected) << args;
    }
    EXPECT_FALSE(fs::exists(dir / "x.pdf"));
}
#endif
