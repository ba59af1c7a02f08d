// The settings a user already has are read under the names they were written with: the athlete
// library's folder and threshold and the measurement uncertainty, each stored value read back (or
// refused in favour of the default), and what the program saves lands under the same names.
#include "view/library/LibrarySettings.h"
#include "view/settings/UncertaintySettings.h"

#include <QSettings>
#include <QVariant>

#include <gtest/gtest.h>

using namespace trv;

namespace {

struct CleanSettings {
    CleanSettings() { Clear(); }
    ~CleanSettings() { Clear(); }
    static void Clear() {
        QSettings().remove(QStringLiteral("Athletenbibliothek"));
        QSettings().remove(QStringLiteral("Uncertainty"));
    }
};

}  // namespace

TEST(StoredSettings, LibraryMethodReadsKnownIdsAndFallsBackToIans) {
    const struct {
        const char* stored;  // nullptr: nothing stored
        const char* read;
    } cases[] = {
        {nullptr, "ians"}, {"ltp1", "ltp1"}, {"obla_2.5", "obla_2.5"}, {"no-such-method", "ians"}, {"", "ians"},
    };
    for (const auto& c : cases) {
        CleanSettings clean;
        if (c.stored) QSettings().setValue(QStringLiteral("Athletenbibliothek/Methode"), QString::fromUtf8(c.stored));
        EXPECT_EQ(LibraryMethodSetting(), c.read) << (c.stored ? c.stored : "(none)");
    }
}

TEST(StoredSettings, LibraryFolderAndMethodAreSavedUnderTheirNames) {
    CleanSettings clean;
    SaveLibraryFolderSetting(QStringLiteral("/srv/labor/Athleten"));
    SaveLibraryMethodSetting("ltp2");
    EXPECT_EQ(QSettings().value(QStringLiteral("Athletenbibliothek/Ordner")).toString(),
              QStringLiteral("/srv/labor/Athleten"));
    EXPECT_EQ(QSettings().value(QStringLiteral("Athletenbibliothek/Methode")).toString(), QStringLiteral("ltp2"));
    EXPECT_EQ(LibraryFolderSetting(), QStringLiteral("/srv/labor/Athleten"));
}

TEST(StoredSettings, LibraryFolderDefaultsToTrvAthletenInTheDocuments) {
    CleanSettings clean;
    EXPECT_TRUE(LibraryFolderSetting().endsWith(QStringLiteral("/TRV-Athleten")));
    // Reading the default stores nothing: a later change of the documents folder is followed.
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Athletenbibliothek/Ordner")));
}

TEST(StoredSettings, UncertaintyValuesInRangeAreReadOthersGiveTheDefaults) {
    const struct {
        const char* key;
        QVariant stored;
        double a, c, d;  // what is read
    } cases[] = {
        {"Uncertainty/A", 0.35, 0.35, 0.03, 0.03},
        {"Uncertainty/A", 2.5, 0.20, 0.03, 0.03},  // above 2 mmol/l
        {"Uncertainty/A", -0.1, 0.20, 0.03, 0.03},
        {"Uncertainty/C", 0.5, 0.20, 0.5, 0.03},
        {"Uncertainty/C", QStringLiteral("viel"), 0.20, 0.03, 0.03},
        {"Uncertainty/D", 0.08, 0.20, 0.03, 0.08},
        {"Uncertainty/D", 0.51, 0.20, 0.03, 0.03},
    };
    for (const auto& c : cases) {
        CleanSettings clean;
        QSettings().setValue(QString::fromLatin1(c.key), c.stored);
        const ErrorModel e = LoadErrorModel();
        EXPECT_DOUBLE_EQ(e.a, c.a) << c.key << " " << c.stored.toString().toStdString();
        EXPECT_DOUBLE_EQ(e.c, c.c) << c.key << " " << c.stored.toString().toStdString();
        EXPECT_DOUBLE_EQ(LoadDayToDay(), c.d) << c.key << " " << c.stored.toString().toStdString();
    }
}

TEST(StoredSettings, UncertaintyIsSavedUnderItsNames) {
    CleanSettings clean;
    ErrorModel e;
    e.a = 0.12;
    e.c = 0.045;
    SaveUncertaintySettings(e, 0.06);
    EXPECT_DOUBLE_EQ(QSettings().value(QStringLiteral("Uncertainty/A")).toDouble(), 0.12);
    EXPECT_DOUBLE_EQ(QSettings().value(QStringLiteral("Uncertainty/C")).toDouble(), 0.045);
    EXPECT_DOUBLE_EQ(QSettings().value(QStringLiteral("Uncertainty/D")).toDouble(), 0.06);
}
