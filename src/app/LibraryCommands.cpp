// The main window's commands of the athlete library: the Athleten dock, "Tests zuordnen",
// "Zuordnung aufheben", "Teamübersicht", "Zugeordnete Tests ausblenden" and the library's settings.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "data/TrvFile.h"
#include "library/LibraryFolder.h"
#include "view/QtText.h"
#include "view/dialogs/TRVUserDataEditDialog.h"
#include "view/library/AssignDialog.h"
#include "view/library/AthletesDock.h"
#include "view/library/LibraryService.h"
#include "view/library/LibrarySettings.h"
#include "view/library/LibrarySettingsDialog.h"
#include "view/library/TeamDialog.h"
#include "view/settings/PreferredChoiceStore.h"
#include "view/settings/ZoneSettingsStore.h"
#include "view/window/DocHandle.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

#include <algorithm>

using namespace trv;

void CMainFrame::SetUpLibrary() {
    m_pLibrary = new CLibraryService(this);
    m_pAthletes = new CAthletesDock(m_pLibrary, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_pAthletes);
    resizeDocks({m_pAthletes}, {AthletesDockWidth(1600)}, Qt::Horizontal);
    m_pAthletes->hide();
    connect(m_pAthletes, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) FitDocks();
    });
    connect(m_pAthletes, &CAthletesDock::openRequested, this, [this](const QString& path) { OpenDocument(path); });
    connect(m_pAthletes, &CAthletesDock::newAthleteRequested, this, &CMainFrame::OnNewAthlete);
    connect(m_pAthletes, &CAthletesDock::teamRequested, this, [this](const QStringList& paths) {
        CTeamDialog dlg(m_pLibrary, paths, this);
        dlg.exec();
    });
    // The list is read when it is first shown, and again whenever the program comes back to the front
    // (other programs or workstations may have added, changed or removed documents).
    connect(m_pAthletes->toggleViewAction(), &QAction::toggled, this, [this](bool on) {
        if (!on) return;
        const AnalysisChoice pref = LoadPreferredChoice();
        LibraryChoice choice;
        choice.fit = pref.fit;
        choice.model = pref.model;
        choice.zones = LoadZoneSettings();
        m_pLibrary->SetMethod(LibraryMethodSetting());
        m_pLibrary->SetChoice(choice);
        m_pLibrary->SetFolder(LibraryFolderSetting());
    });
    connect(qApp, &QApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && m_pAthletes->isVisible()) m_pLibrary->Refresh();
    });
}

namespace {

// The library's service, set up (the dock may never have been shown).
CLibraryService* ReadyLibrary(CLibraryService* service) {
    if (service->Folder().isEmpty()) {
        service->SetMethod(LibraryMethodSetting());
        service->SetFolder(LibraryFolderSetting());
    }
    service->Wait();
    QApplication::processEvents();
    return service;
}

}  // namespace

void CMainFrame::OnAssignTests() {
    CChildFrame* active = ActiveFrame();
    if (!active) return;
    std::vector<int> tests = active->SelectedTests();
    std::sort(tests.begin(), tests.end());  // oldest first, as they were measured
    if (tests.empty()) {
        QMessageBox::information(this, QStr(IDS_LIBGUI_ASSIGN_TITLE), QStr(IDS_LIBGUI_NO_TESTS_SELECTED));
        return;
    }
    CLibraryService* library = ReadyLibrary(m_pLibrary);
    if (!library->Error().isEmpty()) {
        QMessageBox::warning(this, QStr(IDS_LIBGUI_ASSIGN_TITLE),
                             QU8(FmtId(IDS_LIBGUI_NO_LIBRARY, library->Error().toUtf8().constData())));
        return;
    }
    AssignWindows windows;
    windows.source = &active->Workspace();
    windows.workspaceOf = [this](const std::string& path) -> CWorkspace* {
        const QString abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
        for (QMdiSubWindow* w : m_pMdi->subWindowList()) {
            auto* f = static_cast<CChildFrame*>(w);
            if (!f->Doc()->PathName().isEmpty() && QFileInfo(f->Doc()->PathName()).absoluteFilePath() == abs)
                return &f->Workspace();
        }
        return nullptr;
    };
    windows.refresh = [this](CWorkspace* ws, uint32_t changes) {
        for (QMdiSubWindow* w : m_pMdi->subWindowList()) {
            auto* f = static_cast<CChildFrame*>(w);
            if (&f->Workspace() == ws) f->Refresh(changes);
        }
    };
    windows.askAthlete = [this](UserDataType& user) {
        CTRVUserDataEditDialog dlg(user, this);
        if (dlg.exec() != QDialog::Accepted) return false;
        user = dlg.Data();
        return true;
    };
    CAssignDialog dlg(library, windows, tests, m_pAthletes->CurrentGroup(), this);
    if (dlg.exec() == QDialog::Accepted)
        ShowStatusMessage(QU8(FmtId(IDS_LIBGUI_ASSIGN_DONE, static_cast<int>(tests.size()))));
    UpdateCommands();
}

void CMainFrame::OnUnassignTests() {
    if (CChildFrame* active = ActiveFrame())
        active->Refresh(active->Workspace().MarkAssigned(active->SelectedTests(), false));
    UpdateCommands();
}

void CMainFrame::OnHideAssigned() {
    const bool hide = Action(CommandId::HideAssigned)->isChecked();
    for (QMdiSubWindow* w : m_pMdi->subWindowList()) static_cast<CChildFrame*>(w)->SetHideAssigned(hide);
}

void CMainFrame::OnTeamOverview() {
    CLibraryService* library = ReadyLibrary(m_pLibrary);
    if (!library->Error().isEmpty()) {
        QMessageBox::warning(this, QStr(IDS_TEAM_TITLE),
                             QU8(FmtId(IDS_LIBGUI_NO_LIBRARY, library->Error().toUtf8().constData())));
        return;
    }
    // The athletes the Athleten list shows (its search and group), or all.
    QStringList paths = m_pAthletes->isVisible() ? m_pAthletes->SelectedPaths() : QStringList();
    if (paths.size() < 2) paths = m_pAthletes->ShownPaths();
    CTeamDialog dlg(library, paths, this);
    dlg.exec();
}

void CMainFrame::OnLibrarySettings() {
    CLibrarySettingsDialog dlg(LibraryFolderSetting(), LibraryMethodSetting(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    SaveLibraryFolderSetting(dlg.Folder());
    SaveLibraryMethodSetting(dlg.Method());
    m_pLibrary->SetMethod(dlg.Method());
    m_pLibrary->SetFolder(dlg.Folder());
}

void CMainFrame::OnNewAthlete(const QString& group) {
    UserDataType user;
    CTRVUserDataEditDialog dlg(user, this);
    if (dlg.exec() != QDialog::Accepted) return;
    const QString folder = m_pLibrary->Folder().isEmpty() ? LibraryFolderSetting() : m_pLibrary->Folder();
    const std::string path = NewAthletePath(folder.toStdString(), group.toStdString(), dlg.Data());
    CTRVDoc doc;
    doc.m_UserData = dlg.Data();
    const FileResult r = trv::SaveDocument(doc, path);
    if (!r.ok) {
        QMessageBox::warning(this, QStr(IDS_LIBGUI_DOCK),
                             QU8(FmtId(IDS_LIBGUI_CREATE_FAILED, path.c_str(), r.message.c_str())));
        return;
    }
    m_pLibrary->Refresh();
    OpenDocument(QString::fromStdString(path));
}
