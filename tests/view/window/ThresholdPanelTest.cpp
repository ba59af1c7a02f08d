// The thresholds panel of a document window, its marks in the chart, and the zone settings.
#include "ViewFixture.h"
#include "view/dialogs/UncertaintySettingsDialog.h"
#include "view/dialogs/ZoneSettingsDialog.h"
#include "view/settings/UncertaintySettings.h"
#include "view/settings/ZoneSettingsStore.h"
#include "view/window/ThresholdPanel.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace trv;
using viewtest::ViewHolder;

namespace {

int RowOf(QTableWidget* t, const QString& label) {
    for (int r = 0; r < t->rowCount(); ++r)
        if (t->item(r, 0) && t->item(r, 0)->text() == label) return r;
    return -1;
}

}  // namespace

TEST(ThresholdPanel, FollowsTheShownTestsAndMarksTickedLoadsInTheChart) {
    QSettings().remove(QStringLiteral("Zones"));
    ViewHolder h;
    CTRVView* v = h.view.get();
    CThresholdPanel* panel = v->Ui().thresholds;
    EXPECT_FALSE(panel->Tabs()->isVisible());

    v->GetDocument().GetTest(0).m_bParamsEntered = 1;
    h.ClickTestCheck(0, true);
    ASSERT_EQ(panel->Tabs()->count(), 1);
    EXPECT_TRUE(panel->Tabs()->tabText(0).startsWith(QStringLiteral("L 1: Laufband")));
    QTableWidget* methods = panel->MethodTable(0);
    ASSERT_EQ(methods->rowCount(), 18);
    EXPECT_EQ(methods->horizontalHeaderItem(1)->text(), QStringLiteral("Belastung [m/s]"));
    EXPECT_EQ(methods->horizontalHeaderItem(4)->text(), QStringLiteral("Pace [min/km]"));

    // Lactate 3.4 at 4.0 m/s and 5.1 at 4.5 m/s: the 4 mmol/l crossing lies between them.
    const int obla = RowOf(methods, QStringLiteral("OBLA 4,0"));
    ASSERT_GE(obla, 0);
    // "4,23 m/s (…)" while its interval is computed, "4,23 m/s (4,18–4,29)" when it is in.
    const double load = methods->item(obla, 1)
                            ->text()
                            .section(QLatin1Char(' '), 0, 0)
                            .replace(QLatin1Char(','), QLatin1Char('.'))
                            .toDouble();
    EXPECT_GT(load, 4.0);
    EXPECT_LT(load, 4.5);
    EXPECT_EQ(methods->item(obla, 2)->text(), QStringLiteral("4,00"));
    // Five steps: no post-load reading, so the recovery method says why not.
    const int stegmann = RowOf(methods, QStringLiteral("IAS Stegmann"));
    EXPECT_EQ(methods->item(stegmann, 1)->text(), QStringLiteral("nicht bestimmbar"));
    EXPECT_EQ(methods->item(stegmann, 1)->toolTip(), QStringLiteral("Kein Nachbelastungswert."));
    EXPECT_FALSE(methods->item(stegmann, 0)->flags() & Qt::ItemIsUserCheckable);

    EXPECT_TRUE(v->ChartModel().markers.empty());
    methods->item(obla, 0)->setCheckState(Qt::Checked);
    ASSERT_EQ(v->ChartModel().markers.size(), 1u);
    EXPECT_NEAR(v->ChartModel().markers[0].x, load, 0.005);
    EXPECT_EQ(v->ChartModel().markers[0].label, "OBLA 4,0");
    // A new evaluation keeps the tick and the line.
    v->Evaluate();
    v->SetUpChart();
    EXPECT_EQ(v->ChartModel().markers.size(), 1u);
    EXPECT_EQ(panel->MethodTable(0)->item(obla, 0)->checkState(), Qt::Checked);
    panel->MethodTable(0)->item(obla, 0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(v->ChartModel().markers.empty());

    // The tables as tab-separated text.
    panel->CopyTables();
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Verfahren\tBelastung [m/s]\tLaktat [mmol/l]\tHF [S/min]\tPace [min/km]\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nOBLA 4,0\t"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nZone\tBereich\tvon [m/s]\tbis [m/s]\tHF [S/min]\tPace [min/km]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nREKOM\tRegeneration\t\t"))) << text.toStdString();

    // Hidden again: no tab, no line.
    h.ClickTestCheck(0, false);
    EXPECT_EQ(panel->Tabs()->count(), 0);
    EXPECT_TRUE(v->ChartModel().markers.empty());
}

TEST(ZoneSettings, TheDialogRefusesBadBoundariesInGerman) {
    CZoneSettingsDialog dlg(ZoneSettings{});
    QTableWidget* treadmill = dlg.Table(0);
    ASSERT_EQ(treadmill->rowCount(), 5);
    EXPECT_EQ(treadmill->item(0, 2)->text(), QStringLiteral("70"));
    EXPECT_EQ(dlg.Table(1)->item(0, 2)->text(), QStringLiteral("55"));
    EXPECT_FALSE(treadmill->item(4, 2)->flags() & Qt::ItemIsEditable);

    treadmill->item(1, 2)->setText(QStringLiteral("60"));  // GA1 up to 60 % after REKOM up to 70 %
    EXPECT_EQ(dlg.TakeTables(), QStringLiteral("Laufband: Die Zonengrenzen müssen von Zone zu Zone ansteigen."));
    treadmill->item(1, 2)->setText(QStringLiteral("85"));
    dlg.Table(2)->item(3, 2)->setText(QStringLiteral("310"));
    EXPECT_EQ(dlg.TakeTables(), QStringLiteral("Feldtest: Die Zonengrenzen müssen zwischen 0 und 300 % liegen."));
    EXPECT_EQ(dlg.Tabs()->currentIndex(), 2);
    dlg.Table(2)->item(3, 2)->setText(QStringLiteral("viel"));
    EXPECT_EQ(dlg.TakeTables(), QStringLiteral("Feldtest: Die obere Grenze der Zone EB ist keine Zahl."));
    // Nothing was taken so far.
    EXPECT_EQ(dlg.Settings().schemes[2].bounds, DefaultZoneScheme(2).bounds);

    dlg.RestoreDefaults();  // the tab shown: Feldtest
    treadmill->item(0, 2)->setText(QStringLiteral("72,5"));
    treadmill->item(0, 1)->setText(QStringLiteral("Erholung"));
    EXPECT_EQ(dlg.TakeTables(), QString());
    EXPECT_EQ(dlg.Settings().schemes[0].bounds, (std::vector<double>{72.5, 85, 95, 105}));
    EXPECT_EQ(dlg.Settings().schemes[0].zones[0].name, "Erholung");
    EXPECT_EQ(dlg.Settings().schemes[2].bounds, DefaultZoneScheme(2).bounds);
}

TEST(ZoneSettings, KeptInTheProgramsSettings) {
    QSettings().remove(QStringLiteral("Zones"));
    EXPECT_EQ(LoadZoneSettings().schemes[1], DefaultZoneScheme(1));
    ZoneSettings z;
    z.schemes[1].bounds = {50, 70, 88.5, 110};
    z.schemes[1].zones[4].name = "Anaerob";
    SaveZoneSettings(z);
    const ZoneSettings back = LoadZoneSettings();
    EXPECT_EQ(back.schemes[1], z.schemes[1]);
    EXPECT_EQ(back.schemes[0], DefaultZoneScheme(0));
    // A stored scheme that does not pass the check falls back to the default.
    QSettings().setValue(QStringLiteral("Zones/Type1/Bounds"), QStringList{"90", "70", "88", "110"});
    EXPECT_EQ(LoadZoneSettings().schemes[1], DefaultZoneScheme(1));
    QSettings().remove(QStringLiteral("Zones"));
}

TEST(ThresholdPanel, IntervalsComeInAwayFromTheGuiThreadAndBandTheMarkedLine) {
    QSettings().remove(QStringLiteral("Uncertainty"));
    ViewHolder h;
    CTRVView* v = h.view.get();
    CThresholdPanel* panel = v->Ui().thresholds;
    v->GetDocument().GetTest(0).m_bParamsEntered = 1;
    h.ClickTestCheck(0, true);
    QTableWidget* methods = panel->MethodTable(0);
    const int obla = RowOf(methods, QStringLiteral("OBLA 4,0"));
    ASSERT_GE(obla, 0);
    methods->item(obla, 0)->setCheckState(Qt::Checked);
    // The window answers at once; the interval follows when its thread is done.
    const auto hasInterval = [&] {
        return panel->MethodTable(0) && panel->MethodTable(0)->item(obla, 1)->text().contains(QChar(0x2013));
    };
    EXPECT_TRUE(QTest::qWaitFor(hasInterval, 60000));
    const QString text = panel->MethodTable(0)->item(obla, 1)->text();
    // "4,23 m/s (4,16–4,31)": the load inside its interval.
    const QRegularExpression form(QStringLiteral("^(\\d+,\\d\\d) m/s \\((\\d+,\\d\\d)\u2013(\\d+,\\d\\d)\\)$"));
    const QRegularExpressionMatch m = form.match(text);
    ASSERT_TRUE(m.hasMatch()) << text.toStdString();
    auto num = [&](int i) { return m.captured(i).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    EXPECT_LE(num(2), num(1) + 0.01);
    EXPECT_GE(num(3), num(1) - 0.01);
    ASSERT_EQ(v->ChartModel().markers.size(), 1u);
    ASSERT_TRUE(v->ChartModel().markers[0].bandFrom.has_value());
    EXPECT_NEAR(*v->ChartModel().markers[0].bandFrom, num(2), 0.006);
    EXPECT_NEAR(*v->ChartModel().markers[0].bandTo, num(3), 0.006);
}

TEST(UncertaintySettings, DialogRefusesBadValuesAndRestoresTheDefaults) {
    CUncertaintySettingsDialog dlg(ErrorModel{0.3, 0.05}, 0.02);
    auto fields = dlg.findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0]->text(), QStringLiteral("0,30"));
    EXPECT_EQ(fields[1]->text(), QStringLiteral("5,0"));
    EXPECT_EQ(fields[2]->text(), QStringLiteral("2,0"));
    fields[1]->setText(QStringLiteral("80"));
    EXPECT_FALSE(dlg.Take());
    fields[1]->setText(QStringLiteral("viel"));
    EXPECT_FALSE(dlg.Take());
    for (QPushButton* b : dlg.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Standard wiederherstellen")) b->click();
    EXPECT_EQ(fields[0]->text(), QStringLiteral("0,20"));
    EXPECT_EQ(fields[1]->text(), QStringLiteral("3,0"));
    EXPECT_EQ(fields[2]->text(), QStringLiteral("3,0"));
    fields[0]->setText(QStringLiteral("0,25"));
    ASSERT_TRUE(dlg.Take());
    EXPECT_DOUBLE_EQ(dlg.Error().a, 0.25);
    EXPECT_DOUBLE_EQ(dlg.Error().c, 0.03);
    EXPECT_DOUBLE_EQ(dlg.DayToDay(), 0.03);
}

namespace {

// Ten treadmill steps from 2.5 m/s in steps of 0.5 m/s on a smooth curve (IDs 42..51; tenths of
// mmol/l), parameters entered.
TestDataType CleanTenSteps() {
    static const int kTenths[] = {10, 11, 12, 13, 15, 19, 24, 32, 43, 61};
    TestDataType t = viewtest::StepTest(42, 10);
    for (size_t i = 0; i < t.m_Steps.size(); ++i) {
        t.m_Steps[i].m_nLactate = static_cast<uint16_t>(kTenths[i]);
        t.m_Steps[i].m_bChecked = 1;
    }
    t.m_bParamsEntered = 1;
    return t;
}

bool MarkedAsNotFitting(const QAbstractItemModel* m, int row) {
    const QVariant brush = m->index(row, 0).data(Qt::BackgroundRole);
    return brush.canConvert<QBrush>() && brush.value<QBrush>().color() == QColor(0xFF, 0xD0, 0x90) &&
           m->index(row, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("passt nicht zur Kurve"));
}

// The colour the list draws near the right end of a cell of `row` (where no text reaches).
QColor Painted(QTreeView* list, int row) {
    const QModelIndex cell = list->model()->index(row, CMeasurementListModel::ColDuration);
    list->scrollTo(cell);
    const QRect r = list->visualRect(cell);
    return list->viewport()->grab().toImage().pixelColor(r.right() - 4, r.center().y());
}

// Whether the list told its view to repaint `row`'s colour since the spies were cleared: a reset, or
// a change over the row that names the background (or every role).
bool RowRepainted(const QSignalSpy& changed, const QSignalSpy& reset, int row) {
    if (!reset.isEmpty()) return true;
    for (const QList<QVariant>& args : changed) {
        const QModelIndex from = args[0].value<QModelIndex>(), to = args[1].value<QModelIndex>();
        const QList<int> roles = args[2].value<QList<int>>();
        if (from.row() <= row && row <= to.row() && from.column() == 0 &&
            (roles.isEmpty() || roles.contains(Qt::BackgroundRole)))
            return true;
    }
    return false;
}

}  // namespace

TEST(ThresholdPanel, AReadingThatDoesNotFitIsMarkedInTheListUntilItIsCorrected) {
    QSettings().remove(QStringLiteral("Uncertainty"));
    ViewHolder h;
    CTRVView* v = h.view.get();
    v->GetDocument().m_Tests[0] = CleanTenSteps();
    v->GetDocument().m_Tests[0].m_Steps[6].m_nLactate = 24 + 25;  // 2,4 mmol/l read as 4,9
    h.SelectTests({0});
    const QAbstractItemModel* list = v->Ui().measModel;
    ASSERT_EQ(list->rowCount(), 10);
    QSignalSpy changed(list, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(list, &QAbstractItemModel::modelReset);
    auto clearSpies = [&] {
        changed.clear();
        reset.clear();
    };
    auto noticeNames = [&](const char* id) {
        const auto& lines = v->ChartModel().notices.lines;
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(std::string("Messwert ") + id + " (") != std::string::npos &&
                   l.find("passt nicht zur Kurve") != std::string::npos;
        });
    };

    // Shown in the chart: the robust fit flags reading 48 (row 6), its row is orange with the notice as
    // its tip and repainted; no other row is marked.
    clearSpies();
    h.ClickTestCheck(0, true);
    v->RefreshNotices();
    EXPECT_TRUE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));
    for (int row : {0, 5, 7, 9}) EXPECT_FALSE(MarkedAsNotFitting(list, row)) << row;
    EXPECT_TRUE(noticeNames("48"));
    // And it is seen: the list draws that row orange, its neighbour in the light red of a ticked load
    // reading.
    EXPECT_EQ(Painted(v->Ui().measList, 6), QColor(0xFF, 0xD0, 0x90));
    EXPECT_EQ(Painted(v->Ui().measList, 5), QColor(255, 200, 200));

    // A wider measurement error in the settings: the reading fits within it, the window evaluates
    // anew (the list keeps its rows) and the row is repainted plain; the defaults flag it again.
    clearSpies();
    SaveUncertaintySettings(ErrorModel{kErrorAMax, 0.03}, kDefaultDayToDay);
    v->Evaluate();
    EXPECT_FALSE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));
    clearSpies();
    QSettings().remove(QStringLiteral("Uncertainty"));
    v->Evaluate();
    EXPECT_TRUE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));

    // Corrected in the list: the mark goes, and the row is told so.
    clearSpies();
    ASSERT_TRUE(v->Ui().measModel->setData(list->index(6, CMeasurementListModel::ColLactate), QStringLiteral("2,4"),
                                           Qt::EditRole));
    v->RefreshNotices();
    EXPECT_FALSE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));
    EXPECT_FALSE(noticeNames("48"));

    // The correction undone: marked again.
    clearSpies();
    v->OnUndo();
    v->RefreshNotices();
    EXPECT_TRUE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));
    EXPECT_TRUE(noticeNames("48"));

    // Hidden from the chart: no curve, no flag, every row repainted plain.
    clearSpies();
    h.ClickTestCheck(0, false);
    v->RefreshNotices();
    EXPECT_FALSE(MarkedAsNotFitting(list, 6));
    EXPECT_TRUE(RowRepainted(changed, reset, 6));
}
