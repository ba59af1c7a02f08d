// Zone models in the program: the zone settings' model and anchors, the "Schwellen" panel's zones
// and bands, and "Zonen weitergeben".
#include "../../analysis/ZoneDocs.h"
#include "analysis/ThresholdMethods.h"
#include "data/TRVDoc.h"
#include "view/dialogs/ZoneExportDialog.h"
#include "view/dialogs/ZoneModelBox.h"
#include "view/dialogs/ZoneSettingsDialog.h"
#include "view/settings/ZoneSettingsStore.h"
#include "view/window/ThresholdPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

ZoneSettings Settings(const char* model, const char* lt1, const char* lt2) {
    ZoneSettings s;
    s.model = model;
    s.lt1 = lt1;
    s.lt2 = lt2;
    return s;
}

CThresholdPanel::Entry EntryOf(const TestDataType& t, const ZoneSettings& s, int index = 0) {
    CThresholdPanel::Entry e;
    e.testIndex = index;
    e.test = &t;
    e.result = ComputeTestThresholds(t, FitCubic, ModelMader, s);
    return e;
}

QString LabelsText(QWidget* w) {
    QString all;
    for (const QLabel* l : w->findChildren<QLabel*>())
        if (!l->isHidden()) all += l->text() + QLatin1Char('\n');
    return all;
}

}  // namespace

TEST(ZoneModelSettings, ChosenRestoredAndKept) {
    QSettings().remove(QStringLiteral("Zones"));
    CZoneSettingsDialog dlg(LoadZoneSettings());
    CZoneModelBox* box = dlg.ModelBox();
    EXPECT_EQ(box->Model()->currentText(), QStringLiteral("Fünf Bereiche (% IANS)"));
    EXPECT_EQ(box->Lt1()->currentText(), QStringLiteral("LTP 1"));
    EXPECT_EQ(box->Lt2()->currentText(), QStringLiteral("IANS (Kurvenmodell)"));
    EXPECT_EQ(box->Model()->count(), 5);

    box->Model()->setCurrentIndex(box->Model()->findText(QStringLiteral("Drei Zonen (Seiler)")));
    box->Lt1()->setCurrentIndex(box->Lt1()->findText(QStringLiteral("OBLA 2,0")));
    ASSERT_EQ(dlg.TakeTables(), QString());
    EXPECT_EQ(dlg.Settings().model, "seiler3");
    EXPECT_EQ(dlg.Settings().lt1, "obla_2.0");
    EXPECT_EQ(dlg.Settings().lt2, "ians");
    SaveZoneSettings(dlg.Settings());
    EXPECT_EQ(LoadZoneSettings().model, "seiler3");
    EXPECT_EQ(LoadZoneSettings().lt1, "obla_2.0");

    // "Standard wiederherstellen" brings back the model and its anchors.
    dlg.RestoreDefaults();
    EXPECT_EQ(box->Model()->currentText(), QStringLiteral("Fünf Bereiche (% IANS)"));
    EXPECT_EQ(box->Lt1()->currentText(), QStringLiteral("LTP 1"));

    // Ids that the program does not know (an older or edited settings file) keep the defaults.
    QSettings().setValue(QStringLiteral("Zones/Model"), QStringLiteral("seiler9"));
    QSettings().setValue(QStringLiteral("Zones/Lt2"), QStringLiteral("ltp7"));
    EXPECT_EQ(LoadZoneSettings().model, "trv5");
    EXPECT_EQ(LoadZoneSettings().lt2, "ians");
    EXPECT_EQ(LoadZoneSettings().lt1, "obla_2.0");
    QSettings().remove(QStringLiteral("Zones"));
}

TEST(ZoneModelPanel, ModelAnchorsBandsAndReasons) {
    const TestDataType erg = trvtest::ZoneErgometer();
    CThresholdPanel panel;
    std::vector<CThresholdPanel::Entry> entries;
    entries.push_back(EntryOf(erg, Settings("seiler3", "obla_2.0", "obla_4.0")));
    panel.SetEntries(entries);
    const QString text = LabelsText(panel.Tabs()->widget(0));
    EXPECT_TRUE(text.contains(QStringLiteral("Zonenmodell: Drei Zonen (Seiler)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("LT1 OBLA 2,0: 208 W"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("LT2 OBLA 4,0: 255 W"))) << text.toStdString();
    EXPECT_EQ(panel.ZoneTable(0)->rowCount(), 3);
    EXPECT_TRUE(panel.ExportZonesButton()->isEnabled());

    // Bands only while the box is ticked (off at first): Z1 open below, Z3 open above.
    EXPECT_FALSE(panel.ZoneBandsBox()->isChecked());
    EXPECT_TRUE(panel.ZoneBands().empty());
    panel.ZoneBandsBox()->setChecked(true);
    const std::vector<ChartZoneBand> bands = panel.ZoneBands();
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_FALSE(bands[0].from);
    EXPECT_NEAR(*bands[0].to, 207.72, 0.01);
    EXPECT_NEAR(*bands[1].from, 207.72, 0.01);
    EXPECT_NEAR(*bands[2].from, 255.36, 0.01);
    EXPECT_FALSE(bands[2].to);
    EXPECT_EQ(bands[1].label, "Z2");
    EXPECT_NE(bands[0].color, bands[2].color);

    // No zones: the panel says why.
    entries.clear();
    entries.push_back(EntryOf(erg, Settings("seiler3", "obla_4.0", "obla_2.0")));
    panel.SetEntries(entries);
    EXPECT_TRUE(
        LabelsText(panel.Tabs()->widget(0)).contains(QStringLiteral("Keine Zonen: LT1 liegt nicht unter LT2.")));
    EXPECT_TRUE(panel.ZoneBands().empty());
}

TEST(ZoneExport, DialogWritesAndRemembersTheFolder) {
    QSettings().remove(QStringLiteral("ZoneExport"));
    CTRVDoc doc;
    doc.m_Tests.push_back(trvtest::ZoneErgometer());
    const TestThresholds r =
        ComputeTestThresholds(doc.GetTest(0), FitCubic, ModelMader, Settings("coggan7", "obla_2.0", "obla_4.0"));
    QTemporaryDir dir;
    {
        CZoneExportDialog dlg(doc, 0, r);
        dlg.Folder()->setText(dir.filePath(QStringLiteral("fehlt")));
        EXPECT_FALSE(dlg.WriteGoldenCheetah());
        EXPECT_TRUE(dlg.Status()->text().contains(QStringLiteral("existiert nicht")))
            << dlg.Status()->text().toStdString();
        EXPECT_FALSE(QSettings().contains(QStringLiteral("ZoneExport/GoldenCheetahDir")));

        dlg.Folder()->setText(dir.path());
        EXPECT_TRUE(dlg.WriteGoldenCheetah()) << dlg.Status()->text().toStdString();
        EXPECT_TRUE(QDir(dir.path()).exists(QStringLiteral("power.zones")));
        EXPECT_EQ(dlg.Status()->text(), QStringLiteral("Zonen vom 2026/05/12 geschrieben: power.zones, hr.zones"));

        const QString json = dir.filePath(QStringLiteral("icu.json"));
        EXPECT_TRUE(dlg.SaveIntervals(json));
        QFile f(json);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith("{\"types\":[\"Ride\",\"VirtualRide\"],\"ftp\":255,"));
        EXPECT_TRUE(dlg.SaveCardPdf(dir.filePath(QStringLiteral("karte.pdf"))));
        EXPECT_TRUE(QDir(dir.path()).exists(QStringLiteral("karte.pdf")));
    }
    // The folder is remembered for the next time.
    CZoneExportDialog again(doc, 0, r);
    EXPECT_EQ(again.Folder()->text(), dir.path());

    // A test without zones offers nothing and says why.
    const TestThresholds none =
        ComputeTestThresholds(doc.GetTest(0), FitCubic, ModelMader, Settings("seiler3", "obla_4.0", "obla_2.0"));
    CZoneExportDialog empty(doc, 0, none);
    EXPECT_EQ(empty.Status()->text(), QStringLiteral("Keine Zonen: LT1 liegt nicht unter LT2."));
    EXPECT_FALSE(empty.WriteButton()->isEnabled());
    QSettings().remove(QStringLiteral("ZoneExport"));
}
