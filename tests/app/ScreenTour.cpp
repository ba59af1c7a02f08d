// Walks through the program as a new user would, with the demo analyser, and writes a screenshot of
// every step into the folder given (default: the current one). Run it under a display:
//   Xvfb :99 & DISPLAY=:99 QT_QPA_PLATFORM=xcb trv_screen_tour /tmp/tour [WIDTHxHEIGHT]
// The main window gets the size given (default 1280x900).
#include "app/AppStart.h"
#include "app/Demo.h"
#include "app/MainFrame.h"
#include "data/TrvFile.h"
#include "library/LibraryFolder.h"
#include "view/QtText.h"
#include "view/dialogs/AboutDlg.h"
#include "view/dialogs/HelpDialog.h"
#include "view/dialogs/ImportDialog.h"
#include "view/dialogs/ManualTestDialog.h"
#include "view/dialogs/TRVStatusDialog.h"
#include "view/dialogs/TRVTestParamDialog.h"
#include "view/dialogs/TRVUserDataEditDialog.h"
#include "view/history/HistoryDock.h"
#include "view/library/AthletesDock.h"
#include "view/library/LibraryService.h"
#include "view/library/LibrarySettings.h"
#include "view/lists/TestListModel.h"
#include "view/window/ProtocolPrinting.h"
#include "view/window/TRVView.h"
#include "view/window/ThresholdPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>

#include <clocale>
#include <cstdio>
#include <functional>
#include <string>

namespace {

QString g_dir;

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Shot(QWidget* w, const char* name) {
    Pump(150);
    QString path = QDir(g_dir).filePath(QString::fromLatin1(name));
    w->grab().save(path);
    std::printf("%s\n", path.toLocal8Bit().constData());
}

void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(300, [act] {
        if (QWidget* w = QApplication::activeModalWidget()) act(w);
    });
}

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(e, &out);
    QApplication::processEvents();
}

// A number as a user of the program's language types it: "74,5" in German, "74.5" in English.
std::string Num(const char* german) {
    std::string s = german;
    if (trv::CurrentLang() == trv::Lang::en)
        for (char& c : s)
            if (c == ',') c = '.';
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    g_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(g_dir);
    InitApplication(app);
    CMainFrame frame;
    StartOptions opts;
    opts.demo = true;
    RunStartup(frame, opts);
    QSize size(1280, 900);
    if (argc > 2) {
        const QStringList wh = QString::fromLatin1(argv[2]).split(QLatin1Char('x'));
        if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
    }
    frame.showNormal();
    frame.resize(size);
    frame.move(0, 0);
    Shot(&frame, "1-start.png");

    CTRVView* v = frame.ActiveView();
    bool statusShot = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!statusShot && v->Ui().status->isVisible() &&
            v->Ui().status->StatusText().startsWith(trv::QStr(trv::IDS_LINK_RECEIVING).left(8)) &&
            v->Ui().status->Progress() > 20) {
            statusShot = true;
            v->Ui().status->grab().save(QDir(g_dir).filePath(QStringLiteral("2-status.png")));
        }
    });
    poll.start(50);
    v->Ui().receiveButton->click();
    QElapsedTimer t;
    t.start();
    while (!(v->Ui().receiveButton->isEnabled() && v->GetDocument().GetTestCount() > 0) && t.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    poll.stop();
    Shot(&frame, "3-downloaded.png");

    // Turn the newest single readings into a step test.
    trv::CTRVDoc& doc = v->GetDocument();
    std::vector<int> singles;
    for (int i = doc.GetTestCount() - 1; i >= 0 && singles.size() < 5; --i)
        if (doc.m_Tests[static_cast<size_t>(i)].m_Steps.front().m_nMeasType == trv::MeasSingle) singles.push_back(i);
    auto* sel = v->Ui().testList->selectionModel();
    bool first = true;
    for (int i : singles) {
        sel->setCurrentIndex(
            v->TestListIndex(i),
            (first ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) | QItemSelectionModel::Rows);
        first = false;
    }
    Shot(&frame, "4-selected-singles.png");
    // Readings of different days: the question before the conversion, answered "Ja".
    OnNextModal([](QWidget* w) {
        Shot(w, "4a-convert-question.png");
        if (auto* box = qobject_cast<QMessageBox*>(w)) box->button(QMessageBox::Yes)->click();
    });
    v->OnConvertToStepTest();
    Shot(&frame, "5-converted.png");

    // Parameters of the new step test.
    OnNextModal([](QWidget* w) {
        auto* dlg = qobject_cast<CTRVTestParamDialog*>(w);
        if (!dlg) return;
        Choose(dlg->m_pUnit, trv::UnitKmh);
        Type(dlg->m_pStartEdit, QStringLiteral("8"));
        Type(dlg->m_pIncrementEdit, QStringLiteral("2"));
        Shot(dlg, "6-params.png");
        dlg->accept();
    });
    v->Ui().paramButton->click();
    OnNextModal([](QWidget* w) {
        auto* dlg = qobject_cast<CTRVUserDataEditDialog*>(w);
        if (!dlg) return;
        dlg->m_pFirstName->setText(QStringLiteral("Jörg"));
        dlg->m_pLastName->setText(QStringLiteral("Weißmüller"));
        dlg->m_pHeight->setText(QStringLiteral("182"));
        dlg->m_pWeight->setText(QString::fromStdString(Num("74,5")));
        Shot(dlg, "7-athlete.png");
        dlg->accept();
    });
    v->Ui().userButton->click();
    v->Ui().showButton->click();
    Shot(&frame, "8-one-test.png");

    // A second test: the first step test the analyser delivered, with its parameters.
    for (int i = 0; i < doc.GetTestCount(); ++i) {
        const trv::TestDataType& test = doc.m_Tests[static_cast<size_t>(i)];
        if (test.m_bShowInChart || test.m_Steps.front().m_nMeasType == trv::MeasSingle) continue;
        sel->setCurrentIndex(v->TestListIndex(i), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit v->Ui().testList->clicked(v->TestListIndex(i));
        OnNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CTRVTestParamDialog*>(w);
            if (!dlg) return;
            Choose(dlg->m_pUnit, trv::UnitKmh);
            Type(dlg->m_pStartEdit, QStringLiteral("8"));
            Type(dlg->m_pIncrementEdit, QStringLiteral("2"));
            dlg->accept();
        });
        v->Ui().paramButton->click();
        v->Ui().showButton->click();
        std::printf("second test %d shown: %d\n", i, int(test.m_bShowInChart));
        break;
    }
    Shot(&frame, "9-two-tests.png");

    // A test from paper: typed into "Test manuell erfassen", then one pasted from a spreadsheet.
    v->OnResetDisplay();
    OnNextModal([](QWidget* w) {
        auto* dlg = qobject_cast<trv::CManualTestDialog*>(w);
        if (!dlg) return;
        trv::CManualEntry& e = dlg->Entry();
        const char* rows[][4] = {{"PrL", "0,9", "68", ""}, {"", "1,2", "131", ""},    {"", "1,5", "144", ""},
                                 {"", "2,3", "158", ""},   {"", "3,6", "169", ""},    {"", "5,8", "181", ""},
                                 {"", "x", "", ""},        {"AFL", "6,4", "162", "3"}};
        for (int r = 0; r < 8; ++r) {
            e.SetCell(r, trv::CManualEntry::ColType, rows[r][0]);
            e.SetCell(r, trv::CManualEntry::ColLactate, Num(rows[r][1]));
            e.SetCell(r, trv::CManualEntry::ColHeartRate, rows[r][2]);
            e.SetCell(r, trv::CManualEntry::ColMinutesAfter, rows[r][3]);
        }
        dlg->Refresh();
        Shot(dlg, "10-manual-with-error.png");
        e.SetCell(6, trv::CManualEntry::ColLactate, Num("8,1"));
        e.SetCell(6, trv::CManualEntry::ColHeartRate, "190");
        dlg->Refresh();
        Shot(dlg, "11-manual.png");
        dlg->accept();
    });
    v->OnManualTest();
    Shot(&frame, "12-manual-shown.png");
    QApplication::clipboard()->setText(QString::fromStdString(
        Num(trv::CurrentLang() == trv::Lang::en
                ? "Step\tLoad [W]\tLactate\tHR\n1\t100\t1,0\t112\n2\t150\t1,4\t129\n3\t200\t2,2\t146\n"
                  "4\t250\t3,9\t163\n5\t300\t6,6\t178\n"
                : "Stufe\tLast [W]\tLaktat\tHF\n1\t100\t1,0\t112\n2\t150\t1,4\t129\n3\t200\t2,2\t146\n"
                  "4\t250\t3,9\t163\n5\t300\t6,6\t178\n")));
    OnNextModal([](QWidget* w) {
        auto* dlg = qobject_cast<trv::CImportDialog*>(w);
        if (!dlg) return;
        dlg->TestTypeBox()->setCurrentIndex(trv::TestErgometer);
        Shot(dlg, "13-import.png");
        dlg->accept();
    });
    v->OnPasteReadings();
    Shot(&frame, "14-imported.png");
    // The test list sorted by date, newest day first, searched for step tests of the second of March,
    // and the question before two of them are deleted (answered "Nein").
    v->Ui().testList->sortByColumn(CTestListModel::ColDate, Qt::DescendingOrder);
    v->SetFilterText(trv::CurrentLang() == trv::Lang::en ? QStringLiteral("02/03 treadmill")
                                                         : QStringLiteral("02.03. laufband"));
    v->Ui().testList->selectAll();
    Shot(&frame, "14a-sorted-searched.png");
    OnNextModal([](QWidget* w) {
        Shot(w, "14b-delete-question.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
    });
    v->OnDeleteTests();
    v->SetFilterText(QString());
    // The IANS ticked in the thresholds panel: its line in the chart with the band of its interval.
    if (auto* panel = v->findChild<CThresholdPanel*>(); panel && panel->Tabs()->count() > 0)
        if (QTableWidgetItem* ians = panel->MethodTable(0)->item(0, 0)) ians->setCheckState(Qt::Checked);
    Pump(1500);
    // The sizes where layouts broke: the Verlauf dock open, a small screen, windows tiled side by side.
    frame.Action(CommandId::History)->trigger();
    Pump(1500);  // the history's intervals come in
    Shot(&frame, "17-verlauf.png");
    frame.resize(1024, 600);
    Shot(&frame, "18-verlauf-1024x600.png");
    frame.Action(CommandId::History)->trigger();
    Shot(&frame, "19-1024x600.png");
    frame.resize(800, 1000);  // the left half of a 1600 x 1000 screen
    Shot(&frame, "20-half-1600x1000.png");
    frame.resize(1600, 1000);
    frame.Action(CommandId::WindowNew)->trigger();
    frame.Action(CommandId::Tile)->trigger();
    Shot(&frame, "21-tiled-1600x1000.png");
    frame.Action(CommandId::History)->trigger();
    Shot(&frame, "22-tiled-verlauf-1600x1000.png");
    frame.Action(CommandId::History)->trigger();
    if (QMdiSubWindow* second = frame.MdiArea()->activeSubWindow()) second->close();
    frame.resize(size);
    frame.Action(CommandId::Help)->trigger();
    if (auto* help = frame.findChild<CHelpDialog*>()) {
        Shot(help, "15-help.png");
        help->close();
    }
    {
        CAboutDlg about(&frame);
        about.show();
        Shot(&about, "16-about.png");
    }
    // The settings dialogs of the main window, each looked at and cancelled.
    const std::pair<CommandId, const char*> settings[] = {{CommandId::ZoneSettings, "23-zone-settings.png"},
                                                          {CommandId::UncertaintySettings, "24-uncertainty.png"},
                                                          {CommandId::PreferredChoice, "25-preferred.png"},
                                                          {CommandId::LibrarySettings, "26-library-settings.png"},
                                                          {CommandId::DeviceSettings, "27-device-settings.png"}};
    for (const auto& [id, name] : settings) {
        OnNextModal([name = name](QWidget* w) {
            Shot(w, name);
            if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
        });
        frame.Action(id)->trigger();
        Pump(100);
    }
    // "Zonen weitergeben" of the first test the thresholds panel shows.
    if (auto* panel = v->findChild<CThresholdPanel*>()) {
        for (int i = 0; i < doc.GetTestCount(); ++i) {
            if (!doc.GetTest(i).m_bShowInChart) continue;
            OnNextModal([](QWidget* w) {
                Shot(w, "28-zone-export.png");
                if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
            });
            emit panel->zonesExportRequested(i);
            break;
        }
    }
    // The athlete library: a group of three athletes, each with this window's tests, in the Athleten dock;
    // then "Tests zuordnen" and the team overview.
    const QString library = QDir(g_dir).filePath(QStringLiteral("library"));
    QDir(library).removeRecursively();
    QDir().mkpath(library + QStringLiteral("/Radsport"));
    SaveLibraryFolderSetting(library);
    const char* athletes[][2] = {{"Anna", "Müller-Lüdenscheidt"}, {"Jörg", "Weißmüller"}, {"Lena", "Kowalski"}};
    int born = 1990;
    for (const auto& a : athletes) {
        trv::CTRVDoc copy = doc;
        copy.m_UserData = trv::UserDataType{};
        copy.m_UserData.m_strFirstName = a[0];
        copy.m_UserData.m_strLastName = a[1];
        copy.m_UserData.m_BirthDate = trv::COleDateTime::FromParts(born++, 5, 17, 0, 0, 0);
        const trv::FileResult saved =
            trv::SaveDocument(copy, trv::NewAthletePath(library.toStdString(), "Radsport", copy.m_UserData));
        if (!saved.ok) std::printf("athlete not saved: %s\n", saved.message.c_str());
    }
    if (!frame.AthletesDock()->isVisible()) frame.Action(CommandId::Athletes)->trigger();
    frame.Library()->Wait();
    Pump(800);
    Shot(&frame, "29-athletes.png");
    sel->setCurrentIndex(v->TestListIndex(0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    OnNextModal([](QWidget* w) {
        Shot(w, "30-assign.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
    });
    frame.Action(CommandId::AssignTests)->trigger();
    OnNextModal([](QWidget* w) {
        Pump(500);
        Shot(w, "31-team.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
    });
    frame.Action(CommandId::TeamOverview)->trigger();
    if (frame.AthletesDock()->isVisible()) frame.Action(CommandId::Athletes)->trigger();
    // The menus with their Alt letters, the print preview and the note on the language chosen for the next start.
    int menuShot = 32;
    for (QAction* top : frame.menuBar()->actions()) {
        if (!top->menu()) continue;
        QMenu* menu = top->menu();
        menu->popup(frame.mapToGlobal(QPoint(0, 0)));
        Pump(100);
        Shot(menu, QStringLiteral("%1-menu-%2.png")
                       .arg(menuShot++)
                       .arg(top->text().remove(QLatin1Char('&')).remove(QLatin1Char('?')))
                       .toLatin1()
                       .constData());
        menu->hide();
    }
    OnNextModal([](QWidget* w) {
        Pump(500);
        Shot(w, "38-preview.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
    });
    frame.Action(CommandId::Preview)->trigger();
    const bool english = trv::CurrentLang() == trv::Lang::en;
    OnNextModal([](QWidget* w) {
        Shot(w, "39-language-note.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->accept();
    });
    frame.Action(english ? CommandId::LanguageGerman : CommandId::LanguageEnglish)->trigger();
    frame.Action(english ? CommandId::LanguageEnglish : CommandId::LanguageGerman)->trigger();
    // The print set-up with the language of the printouts.
    OnNextModal([](QWidget* w) {
        Shot(w, "17-print-setup.png");
        if (auto* box = qobject_cast<QDialog*>(w)) box->reject();
    });
    frame.Action(CommandId::PrintSetup)->trigger();
    // The protocol and the history as PDF files, in the program's language and in the other one (as the print
    // set-up's "Sprache des Ausdrucks" chooses it).
    v->Ui().showButton->click();
    frame.Action(CommandId::History)->setChecked(true);
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 20);
    const trv::Lang other = trv::CurrentLang() == trv::Lang::de ? trv::Lang::en : trv::Lang::de;
    for (const char* suffix : {"", "-other"}) {
        if (*suffix) trv::SavePrintLanguage(static_cast<int>(other));
        v->Printing().SavePdfTo(QDir(g_dir).filePath(QStringLiteral("18-protocol%1.pdf").arg(QLatin1String(suffix))));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(g_dir).filePath(QStringLiteral("19-history%1.pdf").arg(QLatin1String(suffix))));
        frame.HistoryDock()->PaintOn(printer);
    }
    trv::SavePrintLanguage(-1);
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
    frame.MdiArea()->closeAllSubWindows();
    StopDemoAnalyser();
    return 0;
}
