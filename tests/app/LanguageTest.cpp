// The desktop program in German and English: the choice at start, "Sprache / Language", Qt's own texts, the
// guide, and printouts in the language of the print set-up.
#include "../print/PdfText.h"
#include "app/AppStart.h"
#include "app/MainFrame.h"
#include "view/dialogs/HelpDialog.h"
#include "view/window/DocHandle.h"
#include "view/window/ProtocolPrinting.h"
#include "view/window/TRVView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

using namespace trv;

namespace {

// Runs `f` on the next modal window once it shows.
void WhenModal(std::function<void(QWidget*)> f) {
    QTimer::singleShot(0, [f] {
        for (int i = 0; i < 200; ++i) {
            if (QWidget* w = QApplication::activeModalWidget()) {
                f(w);
                return;
            }
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    });
}

// Restores the program's language, Qt's texts and the saved choices after a test.
struct LanguageGuard {
    ~LanguageGuard() {
        QSettings().remove(QStringLiteral("Language"));
        SavePrintLanguage(-1);
        unsetenv("TRV_LANG");
        InitApplication(*qApp);
    }
};

}  // namespace

TEST(Language, OptionEnvironmentAndSavedChoiceInThatOrder) {
    LanguageGuard guard;
    StartOptions o = ParseStartOptions(
        {QStringLiteral("trv"), QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("a.trv")});
    EXPECT_EQ(o.lang, QStringLiteral("en"));
    EXPECT_EQ(o.files, QStringList{QStringLiteral("a.trv")});  // "en" is no file to open
    EXPECT_EQ(ParseStartOptions({QStringLiteral("trv"), QStringLiteral("--lang=de")}).lang, QStringLiteral("de"));

    EXPECT_EQ(StartLanguage(QString()), Lang::de);
    SaveLanguage(Lang::en);
    EXPECT_EQ(StartLanguage(QString()), Lang::en);
    setenv("TRV_LANG", "de", 1);
    EXPECT_EQ(StartLanguage(QString()), Lang::de);
    EXPECT_EQ(StartLanguage(QStringLiteral("en")), Lang::en);
    EXPECT_EQ(StartLanguage(QStringLiteral("xx")), Lang::de);  // a wrong option: the environment's choice
}

TEST(Language, QtSpeaksTheProgramsLanguage) {
    LanguageGuard guard;
    InitApplication(*qApp, QStringLiteral("en"));
    EXPECT_EQ(CurrentLang(), Lang::en);
    {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
        EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Save"));
        CHelpDialog help;
        EXPECT_EQ(help.windowTitle(), QStringLiteral("TRV Help"));
        EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("First download")));
    }
    InitApplication(*qApp, QStringLiteral("de"));
    EXPECT_EQ(CurrentLang(), Lang::de);
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

TEST(Language, TheMenuSavesTheChoiceForTheNextStartAndSaysSoInBothLanguages) {
    LanguageGuard guard;
    CMainFrame frame;
    frame.NewDocument();
    frame.UpdateCommands();
    EXPECT_TRUE(frame.Action(CommandId::LanguageGerman)->isChecked());
    EXPECT_FALSE(frame.Action(CommandId::LanguageEnglish)->isChecked());
    auto* menu = frame.findChild<QMenu*>(QStringLiteral("languageMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title().remove(QLatin1Char('&')), QStringLiteral("Sprache / Language"));
    QString said;
    WhenModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            said = box->text();
            box->accept();
        }
    });
    frame.Action(CommandId::LanguageEnglish)->trigger();
    EXPECT_EQ(QSettings().value(QStringLiteral("Language")).toString(), QStringLiteral("en"));
    EXPECT_TRUE(said.contains(QStringLiteral("nächsten Start"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("next time the program starts"))) << said.toStdString();
    // The windows keep speaking German until then; the menu ticks the choice.
    EXPECT_EQ(CurrentLang(), Lang::de);
    frame.UpdateCommands();
    EXPECT_TRUE(frame.Action(CommandId::LanguageEnglish)->isChecked());
    EXPECT_FALSE(frame.Action(CommandId::LanguageGerman)->isChecked());
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

TEST(Language, ThePrintSetUpChoosesTheLanguageOfTheProtocol) {
    LanguageGuard guard;
    CMainFrame frame;
    frame.NewDocument();
    CTRVView* view = frame.ActiveView();
    ASSERT_NE(view, nullptr);
    view->GetDocument().m_UserData.m_strFirstName = "Anna";
    view->GetDocument().m_UserData.m_strLastName = "Berg";
    EXPECT_EQ(PrintLanguage(), Lang::de);
    WhenModal([](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("printLanguage"));
        if (!combo) return;
        combo->setCurrentIndex(combo->findData(static_cast<int>(Lang::en)));
        if (auto* dlg = qobject_cast<QDialog*>(w)) dlg->accept();
    });
    frame.Action(CommandId::PrintSetup)->trigger();
    ASSERT_EQ(PrintLanguage(), Lang::en);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.pdf"));
    ASSERT_TRUE(view->Printing().SavePdfTo(path));
    const std::string text = trvtest::RunShell("pdftotext '" + path.toStdString() + "' - 2>/dev/null");
    if (!text.empty()) {  // poppler installed
        EXPECT_NE(text.find("Report of"), std::string::npos) << text;
        EXPECT_NE(text.find("Athlete:"), std::string::npos);
        EXPECT_EQ(text.find("Testperson"), std::string::npos);
    }
    // The program itself still speaks German, and the file name stays as it was.
    EXPECT_EQ(CurrentLang(), Lang::de);
    EXPECT_EQ(view->Printing().FileName(), QStringLiteral("Berg_Anna.pdf"));
    for (CDocHandle* d : frame.Documents()) d->SetModified(false);
}

TEST(Language, TheEnglishPrintSetUpMeasuresInMillimetresAsTheGermanDoes) {
    LanguageGuard guard;
    // English first: the set-up's printer lives as long as the program.
    for (const char* lang : {"en", "de"}) {
        InitApplication(*qApp, QString::fromLatin1(lang));
        CMainFrame frame;
        QString unit;
        WhenModal([&unit](QWidget* w) {
            if (auto* combo = w->findChild<QComboBox*>(QStringLiteral("unitCombo"))) unit = combo->currentText();
            if (auto* dlg = qobject_cast<QDialog*>(w)) dlg->reject();
        });
        frame.Action(CommandId::PrintSetup)->trigger();
        EXPECT_TRUE(unit.contains(QStringLiteral("(mm)"))) << lang << ": " << unit.toStdString();
    }
}
