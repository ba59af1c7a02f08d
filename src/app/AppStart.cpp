#include "app/AppStart.h"

#include "app/Demo.h"
#include "app/MainFrame.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/QtText.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QtGlobal>

#include <cstdio>
#include <string_view>

const char* ProgramVersion() { return TRV_VERSION; }

int HandleInfoOptions(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") break;  // file names follow
        if (a == "--help" || a == "-h") {
            std::fputs(trv::LoadStr(trv::IDS_APP_USAGE), stdout);
            return 0;
        }
        if (a == "--version") {
            std::fputs(trv::FmtId(trv::IDS_APP_VERSION, ProgramVersion()).c_str(), stdout);
            return 0;
        }
    }
    return -1;
}

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--demo"))
            o.demo = true;
        else if (!a.startsWith(QStringLiteral("--")))
            o.files << a;
    }
    return o;
}

void SetProgramNames() {
    QApplication::setOrganizationName(QStringLiteral("Morvane GmbH"));
    QApplication::setApplicationName(QStringLiteral("TRV"));
    // No display name of its own: the window system would append it to every title, and the main
    // window's title names the program already. Unset, it follows the program's name ("TRV").
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion()));
}

void InitApplication(QApplication& app) {
    Q_INIT_RESOURCE(trv);
    // The printed protocol reads its logo from the folder the program was started in.
    app.setProperty("trvStartDir", QDir::currentPath());
    SetProgramNames();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* qtbase = new QTranslator(&app);
    if (qtbase->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtbase);
}

bool RunStartup(CMainFrame& frame, const StartOptions& opts) {
    if (opts.demo) {
        QString error;
        if (!StartDemoAnalyser(error))
            QMessageBox::warning(&frame, QApplication::applicationDisplayName(),
                                 trv::QU8(trv::FmtId(trv::IDS_DEMO_FAILED, error.toStdString().c_str())));
    }
    if (opts.files.isEmpty()) {
        frame.NewDocument();
    } else {
        // A file named on the command line that cannot be opened ends the start (after its
        // message), as a failed shell command does.
        bool opened = false;
        for (const QString& f : opts.files) opened = frame.OpenDocument(f) || opened;
        if (!opened) return false;
    }
    frame.showMaximized();
    return true;
}
