// Widget tests run without a display: the offscreen platform, German translations as in the program,
// and settings (and recovery copies) kept away from the user's own and from every other test process (CTest runs them
// side by side; one test clearing a group must not reach another one's).
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Morvane GmbH"));
    QApplication::setApplicationName(QStringLiteral("TRV-Test"));
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    // Recovery copies too: a start offers none of the user's, and none of another test process's.
    setenv("XDG_DATA_HOME", settings.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
