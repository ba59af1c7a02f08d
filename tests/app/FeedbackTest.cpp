// What the main window tells the user after an action: status-bar lines and the title's marks.
#include "DocHandle.h"
#include "MainFrame.h"
#include "MeasurementListModel.h"
#include "ProtocolPrinting.h"
#include "TRVView.h"

#include <QFileInfo>
#include <QStatusBar>
#include <QTemporaryDir>

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

TEST(Feedback, SaveAsPdfNamesTheFileAfterTheAthleteAndSaysWhereItWrote) {
    CMainFrame frame;
    frame.NewDocument();
    CTRVView* view = frame.ActiveView();
    ASSERT_NE(view, nullptr);
    trv::CTRVDoc& doc = view->GetDocument();
    doc.m_UserData.m_strFirstName = "Jörg";
    doc.m_UserData.m_strLastName = "Weiß Müller";
    EXPECT_EQ(view->Printing().FileName(), QStringLiteral("Weiß_Müller_Jörg.pdf"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.pdf"));
    ASSERT_TRUE(view->Printing().SavePdfTo(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith(QStringLiteral("Protokoll gespeichert: ")));
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}
