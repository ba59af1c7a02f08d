#include "app/AppStart.h"

#include "app/Demo.h"
#include "app/MainFrame.h"
#include "res/StringIds.h"
#include "view/QtText.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QtGlobal>

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

void InitApplication(QApplication& app) {
    Q_INIT_RESOURCE(trv);
    // The printed protocol reads its logo from the folder the program was started in.
    app.setProperty("trvStartDir", QDir::currentPath());
    QApplication::setOrganizationName(QStringLiteral("Morvane GmbH"));
    QApplication::setApplicationName(QStringLiteral("TRV"));
    QApplication::setApplicationDisplayName(QStringLiteral("TRV"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.7"));
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
    frame.OfferRecovery();
    return true;
}
