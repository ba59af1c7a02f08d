// The zone card read back from its PDF, by the program and through trv-cli, and the chosen zone
// model on page 2 of the protocol.
#include "../analysis/ZoneDocs.h"
#include "PdfText.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"
#include "print/Protocol.h"
#include "print/ZoneCard.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

using namespace trv;
namespace fs = std::filesystem;

namespace {

CTRVDoc Doc() {
    CTRVDoc doc;
    doc.m_UserData.m_strFirstName = "Jana";
    doc.m_UserData.m_strLastName = "Körner";
    doc.m_Tests.push_back(trvtest::ZoneErgometer());
    doc.m_Tests.push_back(trvtest::ZoneTreadmill());
    return doc;
}

ZoneSettings Settings(const char* model, const char* lt1, const char* lt2) {
    ZoneSettings s;
    s.model = model;
    s.lt1 = lt1;
    s.lt2 = lt2;
    return s;
}

fs::path Temp(const std::string& name) { return fs::temp_directory_path() / (std::to_string(::getpid()) + name); }

}  // namespace

TEST(ZoneCard, TextOfAnErgometerAndATreadmillCard) {
    const CTRVDoc doc = Doc();
    const COleDateTime today = COleDateTime::FromParts(2026, 12, 7, 9, 0, 0);
    // Ergometer, Seiler on OBLA 2.0 (207.7 W, 162.3 bpm) and OBLA 4.0 (255.4 W, 176.6 bpm).
    TestThresholds r =
        ComputeTestThresholds(doc.GetTest(0), FitCubic, ModelMader, Settings("seiler3", "obla_2.0", "obla_4.0"));
    ZoneCardText c = MakeZoneCardText(doc, 0, r, today);
    EXPECT_EQ(c.title, "Zonenkarte");
    ASSERT_EQ(c.facts.size(), 5u);
    EXPECT_EQ(c.facts[0], "Athlet:\tJana Körner");
    EXPECT_EQ(c.facts[1], "Test:\t12.05.2026, Ergometer");
    EXPECT_EQ(c.facts[2], "Zonenmodell:\tDrei Zonen (Seiler)");
    EXPECT_EQ(c.facts[3], "LT1:\tOBLA 2,0: 208 W, 162 S/min");
    EXPECT_EQ(c.facts[4], "LT2:\tOBLA 4,0: 255 W, 177 S/min");
    EXPECT_FALSE(c.speed);
    ASSERT_EQ(c.rows.size(), 3u);
    EXPECT_EQ(c.rows[0].cells, "Z1 niedrig\t< 208\t< 162\t< 2,0");
    EXPECT_EQ(c.rows[1].cells, "Z2 mittel\t208 - 255\t162 - 177\t2,0 - 4,0");
    EXPECT_EQ(c.rows[2].cells, "Z3 hoch\t> 255\t> 177\t> 4,0");
    EXPECT_EQ(c.footer, "Erstellt am 07.12.2026");

    // Treadmill, lactate bands: 1.5 mmol/l at 11.42 km/h (5:15 /km), 2.5 at 12.93 km/h (4:38 /km); the
    // curve never reaches 4.0, so the top band is open and merged.
    r = ComputeTestThresholds(doc.GetTest(1), FitCubic, ModelMader, Settings("seiler5", "bsln_0.5", "obla_2.5"));
    c = MakeZoneCardText(doc, 1, r, today);
    EXPECT_TRUE(c.speed);
    EXPECT_EQ(c.head, "Zone\tBelastung [km/h]\tPace [min/km]\tHF [S/min]\tLaktat [mmol/l]");
    EXPECT_EQ(c.facts[4], "LT2:\tOBLA 2,5: 12,9 km/h (04:38 /km), 170 S/min");
    ASSERT_EQ(c.rows.size(), 3u);
    EXPECT_EQ(c.rows[0].cells, "I1 leicht\t< 11,4\t> 05:15\t< 161\t< 1,5");
    EXPECT_EQ(c.rows[1].cells, "I2 mittel\t11,4 - 12,9\t04:38 - 05:15\t161 - 170\t1,5 - 2,5");
    EXPECT_EQ(c.rows[2].cells, "I3/I4/I5 Schwelle / hoch / sehr hoch\t> 12,9\t< 04:38\t> 170\t> 2,5");
    EXPECT_NE(c.rows[0].colour, c.rows[2].colour);
}

TEST(ZoneCard, PdfFromTheProgramAndFromTrvCli) {
    if (!trvtest::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
    CTRVDoc doc = Doc();
    const TestThresholds r =
        ComputeTestThresholds(doc.GetTest(0), FitCubic, ModelMader, Settings("coggan7", "obla_2.0", "obla_4.0"));
    const fs::path pdf = Temp("card.pdf");
    ASSERT_EQ(WriteZoneCardPdf(QString::fromStdString(pdf.string()),
                               MakeZoneCardText(doc, 0, r, COleDateTime::FromParts(2026, 12, 7, 9, 0, 0)))
                  .message,
              "");
    EXPECT_EQ(trvtest::PageCount(pdf), 1);
    const std::string page = trvtest::PageText(pdf, 1);
    for (const char* part : {"Zonenkarte", "Athlet: Jana Körner", "Test: 12.05.2026, Ergometer",
                             "Zonenmodell: Sieben Leistungsbereiche (Coggan)", "LT2: OBLA 4,0: 255 W, 177 S/min",
                             "L1 Aktive Erholung < 140 < 142 < 1,1", "L4 Schwelle 230 - 268 169 - 180 2,8 - 4,8",
                             "L7 Neuromuskulär > 383 > 215 > 19,1", "Erstellt am 07.12.2026"})
        EXPECT_HAS(page, part) << "\n" << page;
    fs::remove(pdf);

    // trv-cli writes the same card.
    const fs::path file = Temp("card.trv");
    ASSERT_TRUE(SaveDocument(doc, file.string()).ok);
    const fs::path cli = Temp("cli.pdf");
    int status = -1;
    trvtest::RunShell(std::string(TRV_CLI) + " zones '" + file.string() +
                          "' --test 1 --zones friel7 --lt2 obla_2.5 --pdf '" + cli.string() + "'",
                      &status);
    ASSERT_EQ(status, 0);
    const std::string cliPage = trvtest::PageText(cli, 1);
    EXPECT_HAS(cliPage, "Zonenmodell: Sieben HF-Zonen (Friel)");
    EXPECT_HAS(cliPage, "Z5c Anaerobe Kapazität > 15,0 < 04:00 > 180");
    fs::remove(file);
    fs::remove(cli);
}

TEST(ZoneCard, ProtocolPageTwoPrintsTheChosenModel) {
    if (!trvtest::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
    const CTRVDoc doc = Doc();
    ProtocolOptions opt;
    opt.zones = Settings("seiler3", "obla_2.0", "obla_4.0");
    const fs::path pdf = Temp("protocol.pdf");
    ASSERT_TRUE(WriteProtocolPdf(QString::fromStdString(pdf.string()), doc, {0, 1}, opt));
    const std::string page = trvtest::PageText(pdf, 2);
    EXPECT_HAS(page, "Trainingszonen (Drei Zonen (Seiler); LT1 OBLA 2,0, LT2 OBLA 4,0):") << page;
    EXPECT_HAS(page, "Z2 207,72 - 255,36");
    // The treadmill never reaches 4.0 mmol/l: its half says why it has no zones.
    EXPECT_HAS(page, "Keine Zonen: LT2 (OBLA 4,0) ist nicht bestimmbar");
    fs::remove(pdf);
}

// An English card names its anchors and heart rates in English; the German card stays as it was.
TEST(ZoneCard, AnchorsAndHeartRatesInTheLanguageOfTheCard) {
    const CTRVDoc doc = Doc();
    const COleDateTime today = COleDateTime::FromParts(2026, 12, 7, 9, 0, 0);
    const struct {
        Lang lang;
        const char* lt2;      // the lactate bands' LT2 on the treadmill (OBLA 2.5)
        const char* anchor;   // how the five IANS ranges name their anchor
        const char* foreign;  // what must not appear
    } cases[] = {{Lang::de, "LT2:\tOBLA 2,5: 12,9 km/h (04:38 /km), 170 S/min", "IANS:\t", "bpm"},
                 {Lang::en, "LT2:\tOBLA 2.5: 12.9 km/h (04:38 /km), 170 bpm", "IAT:\t", "S/min"}};
    for (const auto& c : cases) {
        const LangScope scope(c.lang);
        TestThresholds r =
            ComputeTestThresholds(doc.GetTest(1), FitCubic, ModelMader, Settings("seiler5", "bsln_0.5", "obla_2.5"));
        ZoneCardText card = MakeZoneCardText(doc, 1, r, today);
        ASSERT_EQ(card.facts.size(), 5u);
        EXPECT_EQ(card.facts[4], c.lt2);
        r = ComputeTestThresholds(doc.GetTest(1), FitCubic, ModelMader, Settings("trv5", "ltp1", "ians"));
        card = MakeZoneCardText(doc, 1, r, today);
        ASSERT_EQ(card.facts.size(), 4u);
        EXPECT_EQ(card.facts[3].rfind(c.anchor, 0), 0u) << card.facts[3];
        for (const std::string& fact : card.facts) EXPECT_EQ(fact.find(c.foreign), std::string::npos) << fact;
    }
}
