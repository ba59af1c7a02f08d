// What the main window tells the user after an action: status-bar lines and the title's marks.
#include "DocHandle.h"
#include "MainFrame.h"
#include "MeasurementListModel.h"
#include "TRVView.h"

#include <QStatusBar>

#include <gtest/gtest.h>

TEST(Feedback, ARefusedCellEntryIsNamedInTheStatusBar) {
    CMainFrame frame;
    frame.NewDocument();
    CTRVView* view = frame.ActiveView();
    ASSERT_NE(view, nullptr);
    emit view->m_pMeasModel->editRefused(0, 4,
                                         QStringLiteral("Der Laktatwert muss zwischen 0,0 und 30,0 mmol/l liegen."));
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QStringLiteral("Der Laktatwert muss zwischen 0,0 und 30,0 mmol/l liegen."));
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}
