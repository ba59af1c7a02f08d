#pragma once
// The recent-files list of the "Datei" menu: up to four files, newest first, kept in the program's
// settings; its entries are made afresh each time the menu opens.
#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;

class CRecentFiles : public QObject {
public:
    explicit CRecentFiles(QObject* parent, std::function<void(const QString&)> open);

    static QStringList Files();
    static void Add(const QString& path);

    // Places the list in `menu` between two separators (here, at its end), refilled whenever `menu`
    // opens.
    void AttachTo(QMenu* menu);

private:
    void Fill(QMenu* menu, QAction* end);

    std::function<void(const QString&)> m_Open;
    std::vector<QAction*> m_acts;
};
