#include "app/RecentFiles.h"

#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/settings/Settings.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

using namespace trv;

CRecentFiles::CRecentFiles(QObject* parent, std::function<void(const QString&)> open)
    : QObject(parent), m_Open(std::move(open)) {}

QStringList CRecentFiles::Files() {
    QSettings s;
    s.beginGroup(QString::fromLatin1(settings::kRecentGroup));
    QStringList files;
    for (int i = 1; i <= settings::kRecentMax; ++i) {
        QString f = s.value(settings::RecentFileKey(i)).toString();
        if (!f.isEmpty()) files << f;
    }
    return files;
}

void CRecentFiles::Add(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > settings::kRecentMax) files.removeLast();
    QSettings s;
    s.beginGroup(QString::fromLatin1(settings::kRecentGroup));
    for (int i = 1; i <= settings::kRecentMax; ++i) {
        if (i <= files.size())
            s.setValue(settings::RecentFileKey(i), files[i - 1]);
        else
            s.remove(settings::RecentFileKey(i));
    }
}

void CRecentFiles::AttachTo(QMenu* menu) {
    m_acts.clear();  // the old menu took its entries with it
    menu->addSeparator();
    QAction* end = menu->addSeparator();
    connect(menu, &QMenu::aboutToShow, this, [this, menu, end] { Fill(menu, end); });
}

void CRecentFiles::Fill(QMenu* menu, QAction* end) {
    for (QAction* a : m_acts) {
        menu->removeAction(a);
        a->deleteLater();
    }
    m_acts.clear();
    const QStringList files = Files();
    if (files.isEmpty()) {
        auto* none = new QAction(QStr(IDS_FILE_MRU_NONE), menu);
        none->setEnabled(false);
        m_acts.push_back(none);
    }
    for (int i = 0; i < files.size(); ++i) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]), menu);
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { m_Open(path); });
        m_acts.push_back(a);
    }
    for (QAction* a : m_acts) menu->insertAction(end, a);
}
