// The lab's preferred threshold model and fitting function: kept in the program's settings, given
// to every test of a document that opens and to every new test, never to the file or the undo list.
#include "ViewFixture.h"
#include "app/MainFrame.h"
#include "data/TrvFile.h"
#include "view/dialogs/PreferredChoiceDialog.h"
#include "view/settings/PreferredChoiceStore.h"
#include "view/window/DocHandle.h"
#include "view/window/TRVView.h"

#include <QComboBox>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trv;

namespace {

struct CleanSettings {
    CleanSettings() { QSettings().remove(QStringLiteral("Analysis")); }
    ~CleanSettings() { QSettings().remove(QStringLiteral("Analysis")); }
};

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

TEST(PreferredChoice, EveryTestOfAnOpenedFileStartsWithItAndTheFileStaysUnmodified) {
    CleanSettings clean;
    SavePreferredChoice({FitCubic, ModelSimon});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labor.trv"));
    {
        CTRVDoc doc;
        viewtest::FillDocument(doc);
        ASSERT_TRUE(SaveDocument(doc, path.toStdString()).ok);
    }
    CMainFrame frame;
    ASSERT_TRUE(frame.OpenDocument(path));
    CTRVView* v = frame.ActiveView();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->GetDocument().GetTestCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(v->Workspace().Analysis(i).m_nThresholdModel, ModelSimon) << i;
        EXPECT_EQ(v->Workspace().Analysis(i).m_nFitFunction, FitCubic) << i;
    }
    EXPECT_FALSE(v->DocHandle()->IsModified());
    EXPECT_EQ(v->Workspace().History().Count(), 0u);
    EXPECT_FALSE(frame.isWindowModified());
    // A second window on the document shares the tests' choice.
    frame.Action(CommandId::WindowNew)->trigger();
    ASSERT_NE(frame.ActiveView(), v);
    EXPECT_EQ(frame.ActiveView()->Workspace().Analysis(2).m_nThresholdModel, ModelSimon);
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

TEST(PreferredChoice, TheDialogKeepsThePairTogetherAndOkStoresItForNewTests) {
    CleanSettings clean;
    CMainFrame frame;
    frame.NewDocument();
    CDocHandle* doc = frame.Documents().front();
    viewtest::OnNextDialog<CPreferredChoiceDialog>([](CPreferredChoiceDialog* dlg) {
        EXPECT_EQ(dlg->m_pModel->currentIndex(), ModelMader);
        EXPECT_EQ(dlg->m_pFit->currentIndex(), FitCubic);
        Choose(dlg->m_pFit, FitSpline);
        Choose(dlg->m_pModel, ModelKeul);  // Keul takes the polynomial
        EXPECT_EQ(dlg->m_pFit->currentIndex(), FitCubic);
        Choose(dlg->m_pFit, FitSpline);  // the splines take Mader
        EXPECT_EQ(dlg->m_pModel->currentIndex(), ModelMader);
        Choose(dlg->m_pModel, ModelSimon);
        dlg->accept();
    });
    frame.Action(CommandId::PreferredChoice)->trigger();
    const AnalysisChoice stored = LoadPreferredChoice();
    EXPECT_EQ(stored.model, ModelSimon);
    EXPECT_EQ(stored.fit, FitCubic);
    EXPECT_EQ(doc->Analyses()->PreferredChoice().model, ModelSimon);
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QStringLiteral("Bevorzugte Auswertung: Modell nach Simon, Polynom 3. Grades"));
    // Cancel keeps what was stored.
    viewtest::OnNextDialog<CPreferredChoiceDialog>([](CPreferredChoiceDialog* dlg) {
        Choose(dlg->m_pModel, ModelKeul);
        dlg->reject();
    });
    frame.Action(CommandId::PreferredChoice)->trigger();
    EXPECT_EQ(LoadPreferredChoice().model, ModelSimon);
    // A pair stored by hand that does not go together is read as a valid one.
    QSettings().setValue(QStringLiteral("Analysis/PreferredFit"), 1);
    EXPECT_EQ(LoadPreferredChoice().fit, FitCubic);
    EXPECT_EQ(LoadPreferredChoice().model, ModelSimon);
}
