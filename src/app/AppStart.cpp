#include "app/AppStart.h"

#include "app/Demo.h"
#include "app/MainFrame.h"
#include "res/Format.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/QtText.h"
#include "view/settings/Settings.h"

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
        else if (a == QStringLiteral("--lang") && i + 1 < arguments.size())
            o.lang = arguments[++i];
        else if (a.startsWith(QStringLiteral("--lang=")))
            o.lang = a.mid(7);
        else if (!a.startsWith(QStringLiteral("--")))
            o.files << a;
    }
    return o;
}

bool SavedLanguage(trv::Lang& lang) {
    const QString saved = trv::settings::LanguageCode();
    return !saved.isEmpty() && trv::ParseLang(saved.toStdString(), lang);
}

void SaveLanguage(trv::Lang lang) { trv::settings::SetLanguageCode(QString::fromLatin1(trv::LangCode(lang))); }

trv::Lang StartLanguage(const QString& langOption) {
    trv::Lang lang = trv::Lang::de;
    if (!langOption.isEmpty()) {
        if (trv::ParseLang(langOption.toStdString(), lang)) return lang;
        std::fprintf(stderr, "trv: %s\n", trv::FmtId(trv::IDS_CLI_BAD_LANG, langOption.toStdString().c_str()).c_str());
    }
    if (trv::LangFromEnvironment(lang)) return lang;
    if (SavedLanguage(lang)) return lang;
    return trv::Lang::de;
}

void SetProgramNames() {
    QApplication::setOrganizationName(QStringLiteral("Morvane GmbH"));
    QApplication::setApplicationName(QStringLiteral("TRV"));
    // No display name of its own: the window system would append it to every title, and the main
    // window's title names the program already. Unset, it follows the program's name ("TRV").
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion()));
}

void InitApplication(QApplication& app, const QString& langOption) {
    Q_INIT_RESOURCE(trv);
    // The printed protocol reads its logo from the folder the program was started in.
    app.setProperty("trvStartDir", QDir::currentPath());
    SetProgramNames();
    const trv::Lang lang = StartLanguage(langOption);
    trv::SetLang(lang);
    // Qt's own texts (standard buttons, file dialogs, print preview) speak the program's language: German
    // from Qt's translations, English as Qt is written. A translator of an earlier call goes first.
    for (QTranslator* old : app.findChildren<QTranslator*>(QStringLiteral("trvQtBase"))) {
        QApplication::removeTranslator(old);
        delete old;
    }
    if (lang == trv::Lang::en) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        return;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* qtbase = new QTranslator(&app);
    qtbase->setObjectName(QStringLiteral("trvQtBase"));
    if (qtbase->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtbase);
}

bool RunStartup(CMainFrame& frame, const StartOptions& opts) {
    if (opts.demo) {
        if (const trv::Result started = StartDemoAnalyser(); !started)
            QMessageBox::warning(&frame, QApplication::applicationDisplayName(),
                                 trv::QU8(trv::FmtId(trv::IDS_DEMO_FAILED, started.message.c_str())));
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
