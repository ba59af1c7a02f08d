// The main window: opening, saving, closing with the save question, new document from the selection,
// menus, recent files, about box and Qt's German texts.
#include "ViewFixture.h"
#include "app/AppStart.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "data/TrvFile.h"
#include "view/dialogs/AboutDlg.h"
#include "view/window/DocHandle.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

using namespace trv;
using namespace viewtest;

namespace {

// Answers the next message box with `button` and keeps its text.
void AnswerNextBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    OnNextModal([button, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        if (text) *text = box->text();
        box->button(button)->click();
    });
}

QString SavedSample(const QTemporaryDir& dir) {
    CTRVDoc doc;
    FillDocument(doc);
    doc.m_strDeviceId = "ARV0012345";
    doc.m_dFirmware = 3.05;
    QString path = dir.filePath(QStringLiteral("sample.trv"));
    EXPECT_TRUE(SaveDocument(doc, path.toStdString()).ok);
    return path;
}

struct Frame {
    Frame() { frame.show(); }
    ~Frame() {
        for (CDocHandle* d : frame.Documents()) d->SetModified(false);
        frame.close();
    }
    CMainFrame frame;
};

// The sample saved to a file and opened in a main window.
struct OpenedSample : Frame {
    OpenedSample() : path(SavedSample(dir)) {
        EXPECT_TRUE(frame.OpenDocument(path));
        v = frame.ActiveView();
    }
    QTemporaryDir dir;
    QString path;
    CTRVView* v = nullptr;
};

}  // namespace

TEST(MainFrame, OpenAFileShowsItsTestsAndRemembersIt) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Ui().testModel->rowCount(), 6);
    EXPECT_EQ(v->Ui().testModel->index(0, 0).data().toString(), QStringLiteral("00500"));
    EXPECT_FALSE(v->DocHandle()->IsModified());
    EXPECT_TRUE(f.frame.windowTitle().contains(QStringLiteral("sample.trv")));
    EXPECT_EQ(f.frame.RecentFiles().value(0), f.path);
    // Opening the same file again brings its window to the front instead of a second copy.
    ASSERT_TRUE(f.frame.OpenDocument(f.path));
    EXPECT_EQ(f.frame.MdiArea()->subWindowList().size(), 1);
}

TEST(MainFrame, AFileThatCannotBeOpenedSaysWhy) {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kaputt.trv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x05\x00\x00\x00\x09\x00", 6);  // version 5, then a cut test count
    file.close();
    Frame f;
    QString text;
    AnswerNextBox(QMessageBox::Ok, &text);
    EXPECT_FALSE(f.frame.OpenDocument(path));
    EXPECT_TRUE(text.contains(QStringLiteral("kaputt.trv"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("nicht geöffnet"))) << text.toStdString();
    EXPECT_TRUE(f.frame.MdiArea()->subWindowList().isEmpty());
}

TEST(Startup, AFileOnTheCommandLineThatCannotBeOpenedEndsTheStart) {
    QTemporaryDir dir;
    {
        Frame f;
        StartOptions opts;
        opts.files << dir.filePath(QStringLiteral("fehlt.trv"));
        QString text;
        AnswerNextBox(QMessageBox::Ok, &text);
        EXPECT_FALSE(RunStartup(f.frame, opts));
        EXPECT_TRUE(text.contains(QStringLiteral("fehlt.trv"))) << text.toStdString();
        EXPECT_TRUE(f.frame.MdiArea()->subWindowList().isEmpty());
    }
    {
        Frame f;
        StartOptions opts;
        opts.files << SavedSample(dir);
        EXPECT_TRUE(RunStartup(f.frame, opts));
        EXPECT_EQ(f.frame.MdiArea()->subWindowList().size(), 1);
    }
    {
        Frame f;
        EXPECT_TRUE(RunStartup(f.frame, StartOptions{}));  // no file: a new document
        EXPECT_EQ(f.frame.MdiArea()->subWindowList().size(), 1);
    }
}

TEST(MainFrame, MenusWithAndWithoutADocument) {
    Frame f;
    auto titles = [&] {
        QStringList t;
        for (QAction* a : f.frame.menuBar()->actions()) t << a->text();
        return t.join(QLatin1Char('|'));
    };
    EXPECT_EQ(titles(), QStringLiteral("&Datei|&Ansicht|&?"));
    f.frame.NewDocument();
    EXPECT_EQ(titles(), QStringLiteral("&Datei|&Bearbeiten|&Ansicht|Einstellungen|&Fenster|&?"));
    EXPECT_EQ(f.frame.Action(CommandId::Save)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(f.frame.Action(CommandId::ResetAnalyser)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    // Nothing selected: no export, no conversion.
    f.frame.UpdateCommands();
    EXPECT_FALSE(f.frame.Action(CommandId::ExportData)->isEnabled());
    EXPECT_FALSE(f.frame.Action(CommandId::ConvertToStepTest)->isEnabled());
    EXPECT_TRUE(f.frame.Action(CommandId::DeviceSettings)->isEnabled());
}

TEST(MainFrame, SaveAndReopenKeepsTheDocument) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    v->GetDocument().m_UserData.m_strFirstName = "Anna";
    v->MarkModified();
    EXPECT_TRUE(f.frame.windowTitle().contains(QStringLiteral("*")) || f.frame.isWindowModified());
    ASSERT_TRUE(f.frame.SaveDocument(v->DocHandle(), false));
    EXPECT_FALSE(v->DocHandle()->IsModified());
    CTRVDoc back;
    ASSERT_TRUE(LoadDocument(f.path.toStdString(), back).ok);
    EXPECT_EQ(back.m_UserData.m_strFirstName, "Anna");
    EXPECT_EQ(back.GetTestCount(), 6);
}

TEST(MainFrame, ClosingAModifiedDocumentAsksToSave) {
    Frame f;
    CChildFrame* child = f.frame.NewDocument();
    child->View()->GetDocument().m_UserData.m_strLastName = "Muster";
    child->View()->MarkModified();
    QString question;
    AnswerNextBox(QMessageBox::Cancel, &question);
    child->close();
    QApplication::processEvents();
    EXPECT_EQ(f.frame.MdiArea()->subWindowList().size(), 1);  // cancelled: still open
    EXPECT_TRUE(question.startsWith(QStringLiteral("Änderungen an TRV"))) << question.toStdString();
    AnswerNextBox(QMessageBox::No);
    child->close();
    QApplication::processEvents();
    EXPECT_TRUE(f.frame.MdiArea()->subWindowList().isEmpty());
}

TEST(MainFrame, NewDocumentFromTheSelectedTests) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    // Rows 0 (test 5, ID 500) and 2 (test 3, ID 251), selected in that order.
    auto* sel = v->Ui().testList->selectionModel();
    sel->select(v->TestListIndex(5), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sel->select(v->TestListIndex(3), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    f.frame.UpdateCommands();
    EXPECT_TRUE(f.frame.Action(CommandId::ExportData)->isEnabled());
    v->GetDocument().m_UserData.m_strLastName = "Weiß";
    f.frame.NewFromSelection();
    CTRVView* nv = f.frame.ActiveView();
    ASSERT_NE(nv, v);
    const CTRVDoc& nd = nv->GetDocument();
    ASSERT_EQ(nd.GetTestCount(), 2);
    EXPECT_EQ(nd.m_Tests[0].m_Steps[0].m_nMeasId, 251);  // document order
    EXPECT_EQ(nd.m_Tests[1].m_Steps[0].m_nMeasId, 500);
    EXPECT_EQ(nd.m_strDeviceId, "ARV0012345");
    EXPECT_FALSE(nd.m_bDeviceBound);
    EXPECT_EQ(nd.m_UserData.m_strLastName, "Weiß");
}

TEST(MainFrame, SecondWindowOnTheSameDocument) {
    Frame f;
    CChildFrame* first = f.frame.NewDocument();
    f.frame.NewWindow();
    ASSERT_EQ(f.frame.MdiArea()->subWindowList().size(), 2);
    auto* second = static_cast<CChildFrame*>(f.frame.MdiArea()->subWindowList().last());
    EXPECT_EQ(second->Doc(), first->Doc());
    EXPECT_TRUE(first->windowTitle().endsWith(QStringLiteral(":1[*]")));
    EXPECT_TRUE(second->windowTitle().endsWith(QStringLiteral(":2[*]")));
    // A change in one window shows in the other.
    FillDocument(first->Doc()->Doc());
    first->View()->MarkModified();
    EXPECT_EQ(second->View()->Ui().testModel->rowCount(), 6);
}

TEST(AboutBox, VersionAndTitle) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Info über TRV"));
    EXPECT_EQ(dlg.VersionLine(), QStringLiteral("TRV V1.0.7"));
}

TEST(Startup, QtSpeaksGerman) {
    InitApplication(*qApp);
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));
    StartOptions o = ParseStartOptions({QStringLiteral("trv"), QStringLiteral("--demo"), QStringLiteral("a.trv")});
    EXPECT_TRUE(o.demo);
    EXPECT_EQ(o.files, QStringList{QStringLiteral("a.trv")});
}

TEST(MainFrame, BluetoothModeAndMemoryResetQuestion) {
    Frame f;
    f.frame.NewDocument();
    CTRVView* v = f.frame.ActiveView();
    EXPECT_FALSE(v->BtMode());
    f.frame.Action(CommandId::BtMode)->trigger();
    EXPECT_TRUE(v->BtMode());
    EXPECT_TRUE(f.frame.Action(CommandId::BtMode)->isChecked());
    f.frame.Action(CommandId::BtMode)->trigger();
    EXPECT_FALSE(f.frame.Action(CommandId::BtMode)->isChecked());
    // Ctrl+R asks first; with no analyser connected nothing else happens after "Ja".
    QString question, caption;
    OnNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        question = box->text();
        caption = box->windowTitle();
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        box->button(QMessageBox::Yes)->click();
    });
    f.frame.Action(CommandId::ResetAnalyser)->trigger();
    EXPECT_EQ(question, QStringLiteral("Gerätespeicher zurücksetzen?"));
    EXPECT_EQ(caption, QStringLiteral("Achtung!"));
    EXPECT_FALSE(v->DocHandle()->IsModified());
}

TEST(MainFrame, ExportCommandAsksForTheFileAndWritesIt) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    v->Ui().testList->selectionModel()->select(v->Ui().testList->model()->index(0, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    f.frame.UpdateCommands();
    ASSERT_TRUE(f.frame.Action(CommandId::ExportData)->isEnabled());
    QString target = f.dir.filePath(QStringLiteral("export"));
    OnNextDialog<QFileDialog>([&](QFileDialog* dlg) {
        EXPECT_EQ(dlg->acceptMode(), QFileDialog::AcceptSave);
        dlg->selectFile(target);
        static_cast<QDialog*>(dlg)->accept();
    });
    f.frame.Action(CommandId::ExportData)->trigger();
    QFile csv(target + QStringLiteral(".csv"));  // the default extension is added
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("00500;250;")) << lines[1].toStdString();
}

TEST(MainFrame, AFailedSaveKeepsTheDocumentModifiedAndSaysSo) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    v->MarkModified();
    // The folder of the file disappears: the save cannot succeed.
    v->GetDocument().SetPathName(f.dir.filePath(QStringLiteral("gone/sample.trv")).toStdString());
    QString text;
    AnswerNextBox(QMessageBox::Ok, &text);
    EXPECT_FALSE(f.frame.SaveDocument(v->DocHandle(), false));
    EXPECT_TRUE(text.contains(QStringLiteral("nicht gespeichert"))) << text.toStdString();
    EXPECT_TRUE(v->DocHandle()->IsModified());
}

TEST(MainFrame, ADroppedFileIsOpened) {
    QTemporaryDir dir;
    QString path = SavedSample(dir);
    Frame f;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    EXPECT_EQ(f.frame.OpenDropped(&mime), 1);
    ASSERT_NE(f.frame.ActiveView(), nullptr);
    EXPECT_EQ(f.frame.ActiveView()->GetDocument().GetTestCount(), 6);
}

TEST(MainFrame, UndoAndRedoNameTheCommandAndFollowTheSavedState) {
    OpenedSample f;
    CTRVView* v = f.v;
    ASSERT_NE(v, nullptr);
    f.frame.UpdateCommands();
    EXPECT_FALSE(f.frame.Action(CommandId::Undo)->isEnabled());
    EXPECT_EQ(f.frame.Action(CommandId::Undo)->text(), QStringLiteral("&Rückgängig"));
    // The first step of test 0 (ID 42) gets a typed lactate of 1,7.
    v->Ui().testList->selectionModel()->setCurrentIndex(
        v->TestListIndex(0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_TRUE(v->Ui().measModel->setData(v->Ui().measModel->index(0, 4), QStringLiteral("1,7"), Qt::EditRole));
    EXPECT_EQ(v->GetDocument().GetTest(0).m_Steps[0].m_nLactate, 17);
    EXPECT_TRUE(v->DocHandle()->IsModified());
    f.frame.UpdateCommands();
    EXPECT_EQ(f.frame.Action(CommandId::Undo)->text(), QStringLiteral("&Rückgängig: Laktatwert ändern"));
    EXPECT_TRUE(f.frame.Action(CommandId::Undo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    EXPECT_TRUE(f.frame.Action(CommandId::Redo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

    f.frame.Action(CommandId::Undo)->trigger();
    EXPECT_EQ(v->GetDocument().GetTest(0).m_Steps[0].m_nLactate, 10);  // as saved
    EXPECT_EQ(v->Ui().measModel->index(0, 4).data().toString(), QStringLiteral("1,0"));
    EXPECT_FALSE(v->DocHandle()->IsModified());
    EXPECT_FALSE(f.frame.isWindowModified());
    f.frame.UpdateCommands();
    EXPECT_EQ(f.frame.Action(CommandId::Redo)->text(), QStringLiteral("&Wiederholen: Laktatwert ändern"));
    f.frame.Action(CommandId::Redo)->trigger();
    EXPECT_EQ(v->GetDocument().GetTest(0).m_Steps[0].m_nLactate, 17);
    EXPECT_TRUE(v->DocHandle()->IsModified());

    // Copy: the measurement list as tab-separated text, header line first.
    const QStringList lines = v->MeasurementTableText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Uhrzeit\tDatum\t"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1].split(QLatin1Char('\t')).value(4), QStringLiteral("1,7"));
}
