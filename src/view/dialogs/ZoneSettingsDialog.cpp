#include "view/dialogs/ZoneSettingsDialog.h"

#include "data/Records.h"
#include "res/StringIds.h"
#include "view/QtText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace trv;

CZoneSettingsDialog::CZoneSettingsDialog(const ZoneSettings& settings, QWidget* parent)
    : QDialog(parent), m_Settings(settings) {
    setWindowTitle(QStr(IDS_ZONES_TITLE));
    m_pTabs = new QTabWidget(this);
    for (int type = 0; type < 3; ++type) {
        auto* table = new QTableWidget(0, 3, this);
        table->setHorizontalHeaderLabels({QStr(IDS_ZONES_COL_CODE), QStr(IDS_ZONES_COL_NAME), QStr(IDS_ZONES_COL_TO)});
        table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        table->verticalHeader()->setVisible(false);
        m_apTables[static_cast<size_t>(type)] = table;
        m_pTabs->addTab(table, QString::fromUtf8(TestTypeText(type)));
        Fill(type, settings.For(type));
    }
    auto* hint = new QLabel(QStr(IDS_ZONES_HINT), this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* restore = buttons->addButton(QStr(IDS_ZONES_RESTORE), QDialogButtonBox::ResetRole);
    connect(restore, &QPushButton::clicked, this, &CZoneSettingsDialog::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &CZoneSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(hint);
    lay->addWidget(m_pTabs);
    lay->addWidget(buttons);
    resize(520, 330);
}

void CZoneSettingsDialog::Fill(int type, const ZoneScheme& scheme) {
    QTableWidget* t = m_apTables[static_cast<size_t>(type)];
    t->setRowCount(static_cast<int>(scheme.zones.size()));
    for (size_t i = 0; i < scheme.zones.size(); ++i) {
        const int r = static_cast<int>(i);
        t->setItem(r, 0, new QTableWidgetItem(QU8(scheme.zones[i].code)));
        t->setItem(r, 1, new QTableWidgetItem(QU8(scheme.zones[i].name)));
        auto* bound = new QTableWidgetItem(i < scheme.bounds.size() ? QU8(PercentText(scheme.bounds[i])) : QString());
        // The last zone is open above: it has no boundary to edit.
        if (i >= scheme.bounds.size()) bound->setFlags(bound->flags() & ~Qt::ItemIsEditable);
        t->setItem(r, 2, bound);
    }
}

void CZoneSettingsDialog::RestoreDefaults() {
    // The tab shown is reset; the others keep what the user typed.
    const int type = m_pTabs->currentIndex();
    Fill(type, DefaultZoneScheme(type));
}

QString CZoneSettingsDialog::TakeTables() {
    ZoneSettings next = m_Settings;
    for (int type = 0; type < 3; ++type) {
        const QTableWidget* t = m_apTables[static_cast<size_t>(type)];
        std::vector<std::string> codes, names, bounds;
        for (int r = 0; r < t->rowCount(); ++r) {
            auto text = [&](int c) {
                return t->item(r, c) ? t->item(r, c)->text().trimmed().toStdString() : std::string();
            };
            codes.push_back(text(0));
            names.push_back(text(1));
            if (r + 1 < t->rowCount()) bounds.push_back(text(2));
        }
        const std::string why = ZoneSchemeFromTexts(codes, names, bounds, next.schemes[static_cast<size_t>(type)]);
        if (!why.empty()) {
            m_pTabs->setCurrentIndex(type);
            return QU8(FmtId(IDS_ZONES_IN_TYPE, TestTypeText(type), why.c_str()));
        }
    }
    m_Settings = next;
    return {};
}

void CZoneSettingsDialog::accept() {
    const QString why = TakeTables();
    if (!why.isEmpty()) {
        QMessageBox::warning(this, QStr(IDS_ZONES_TITLE), why);
        return;
    }
    QDialog::accept();
}
