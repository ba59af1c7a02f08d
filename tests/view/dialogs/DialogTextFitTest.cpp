// Every dialog in German and in English: no label, button or check box is narrower than its text (English
// and German words differ in length, and a fixed width that suits one language cuts the other).
#include "ViewFixture.h"
#include "analysis/Uncertainty.h"
#include "analysis/Zones.h"
#include "res/Strings.h"
#include "view/dialogs/AboutDlg.h"
#include "view/dialogs/ImportDialog.h"
#include "view/dialogs/ManualTestDialog.h"
#include "view/dialogs/PreferredChoiceDialog.h"
#include "view/dialogs/TRVConfigDialog.h"
#include "view/dialogs/TRVStatusDialog.h"
#include "view/dialogs/TRVTestParamDialog.h"
#include "view/dialogs/TRVUserDataEditDialog.h"
#include "view/dialogs/UncertaintySettingsDialog.h"
#include "view/dialogs/ZoneSettingsDialog.h"
#include "view/library/LibrarySettingsDialog.h"
#include "workspace/TestAnalyses.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// The widgets of `dlg` that show a text on one line and are narrower than that text; `checked` counts the texts.
std::vector<std::string> CutTexts(QDialog& dlg, int* checked = nullptr) {
    dlg.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    std::vector<std::string> cut;
    if (checked) {
        *checked = 0;
        for (QWidget* w : dlg.findChildren<QWidget*>()) {
            auto* l = qobject_cast<QLabel*>(w);
            auto* b = qobject_cast<QAbstractButton*>(w);
            if (w->isVisible() && ((l && !l->text().isEmpty()) || (b && !b->text().isEmpty()))) ++*checked;
        }
    }
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty() || l->wordWrap() || !l->pixmap().isNull()) continue;
        if (l->width() < l->sizeHint().width())
            cut.push_back(l->text().toStdString() + " (" + std::to_string(l->width()) + " < " +
                          std::to_string(l->sizeHint().width()) + ")");
    }
    for (QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || b->text().isEmpty()) continue;
        if (b->width() < b->sizeHint().width())
            cut.push_back(b->text().toStdString() + " (" + std::to_string(b->width()) + " < " +
                          std::to_string(b->sizeHint().width()) + ")");
    }
    // A wrapped label is tall enough for its lines.
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (!l->isVisible() || !l->wordWrap() || l->text().isEmpty()) continue;
        if (l->height() < l->heightForWidth(l->width()))
            cut.push_back(l->text().left(40).toStdString() + "... (height " + std::to_string(l->height()) + " < " +
                          std::to_string(l->heightForWidth(l->width())) + ")");
    }
    dlg.hide();
    return cut;
}

using MakeDialog = std::function<std::unique_ptr<QDialog>()>;

class DialogTexts : public ::testing::TestWithParam<Lang> {
protected:
    const LangScope m_lang{GetParam()};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Languages, DialogTexts, ::testing::Values(Lang::de, Lang::en),
                         [](const auto& info) { return std::string(LangCode(info.param)); });

TEST_P(DialogTexts, EveryTextHasTheRoomItNeeds) {
    TestDataType test;
    test.m_nTestType = TestTreadmill;
    test.m_nLoadUnit = UnitKmh;
    const TestAnalysis analysis;
    UserDataType user;
    user.m_strFirstName = "Anna";
    user.m_strLastName = "Müller-Lüdenscheidt";
    const std::pair<const char*, MakeDialog> dialogs[] = {
        {"about", [] { return std::make_unique<CAboutDlg>(); }},
        {"import", [] { return std::make_unique<CImportDialog>(); }},
        {"manual test", [] { return std::make_unique<CManualTestDialog>(); }},
        {"preferred choice", [] { return std::make_unique<CPreferredChoiceDialog>(AnalysisChoice{}); }},
        {"analyser settings", [] { return std::make_unique<CTRVConfigDialog>(true); }},
        {"transfer status", [] { return std::make_unique<CTRVStatusDialog>(); }},
        {"test parameters", [&] { return std::make_unique<CTRVTestParamDialog>(test, analysis); }},
        {"athlete", [&] { return std::make_unique<CTRVUserDataEditDialog>(user); }},
        {"uncertainty", [] { return std::make_unique<CUncertaintySettingsDialog>(ErrorModel{}, 3.0); }},
        {"zone settings", [] { return std::make_unique<CZoneSettingsDialog>(ZoneSettings{}); }},
        {"library settings", [] { return std::make_unique<CLibrarySettingsDialog>(QStringLiteral("/tmp"), "ians"); }},
    };
    for (const auto& [name, make] : dialogs) {
        std::unique_ptr<QDialog> dlg = make();
        int checked = 0;
        for (const std::string& text : CutTexts(*dlg, &checked)) ADD_FAILURE() << name << ": cut: " << text;
        EXPECT_GE(checked, 1) << name;
    }
}

TEST(DialogTexts, ALabelOrButtonNarrowerThanItsTextIsNoticed) {
    QDialog dlg;
    auto* label = new QLabel(QStringLiteral("Date of birth"), &dlg);
    label->setFixedWidth(30);
    auto* button = new QPushButton(QStringLiteral("Restore defaults"), &dlg);
    button->setGeometry(0, 40, 40, 30);
    auto* wrapped = new QLabel(QStringLiteral("A long text that needs several lines at this width, and more."), &dlg);
    wrapped->setWordWrap(true);
    wrapped->setGeometry(0, 80, 60, 16);
    EXPECT_EQ(CutTexts(dlg).size(), 3u);
    label->setFixedWidth(label->sizeHint().width());
    button->resize(button->sizeHint());
    wrapped->resize(60, wrapped->heightForWidth(60));
    EXPECT_TRUE(CutTexts(dlg).empty());
}
