#include "view/library/TeamDialog.h"

#include "print/TeamPrint.h"
#include "view/QtDate.h"
#include "view/QtText.h"
#include "view/library/LibraryService.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace trv;

namespace {

// Numbers sort as numbers, the rest as text.
class Cell : public QTableWidgetItem {
public:
    Cell(const QString& text, bool numeric) : QTableWidgetItem(text), m_bNumeric(numeric) {
        if (numeric) setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setFlags(flags() & ~Qt::ItemIsEditable);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        if (m_bNumeric) {
            const auto a = CellNumber(text().toStdString()), b = CellNumber(other.text().toStdString());
            if (a && b) return *a < *b;
            if (a || b) return b.has_value();
        }
        return QString::localeAwareCompare(text(), other.text()) < 0;
    }

private:
    bool m_bNumeric;
};

}  // namespace

CTeamDialog::CTeamDialog(CLibraryService* service, const QStringList& files, QWidget* parent)
    : QDialog(parent), m_pService(service), m_Files(files) {
    setWindowTitle(QStr(IDS_TEAM_TITLE));
    auto* v = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_pBefore = new QCheckBox(QStr(IDS_LIBGUI_TEAM_BEFORE), this);
    m_pDate = new QDateEdit(QDate::currentDate(), this);
    m_pDate->setDisplayFormat(QtDateFormat());
    m_pDate->setCalendarPopup(true);
    m_pDate->setEnabled(false);
    top->addWidget(m_pBefore);
    top->addWidget(m_pDate);
    top->addStretch();
    v->addLayout(top);
    m_pTable = new QTableWidget(this);
    m_pTable->setSortingEnabled(true);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->verticalHeader()->hide();
    v->addWidget(m_pTable, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_pCopy = buttons->addButton(QStr(IDS_LIBGUI_TEAM_COPY), QDialogButtonBox::ActionRole);
    m_pPrint = buttons->addButton(QStr(IDS_LIBGUI_TEAM_PRINT), QDialogButtonBox::ActionRole);
    m_pPreview = buttons->addButton(QStr(IDS_LIBGUI_TEAM_PREVIEW), QDialogButtonBox::ActionRole);
    m_pPdf = buttons->addButton(QStr(IDS_LIBGUI_TEAM_PDF), QDialogButtonBox::ActionRole);
    m_pCsv = buttons->addButton(QStr(IDS_LIBGUI_TEAM_CSV), QDialogButtonBox::ActionRole);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pBefore, &QCheckBox::toggled, this, [this](bool on) {
        m_pDate->setEnabled(on);
        Build();
    });
    connect(m_pDate, &QDateEdit::dateChanged, this, [this] {
        if (m_pBefore->isChecked()) Build();
    });
    connect(m_pCopy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(CopyText()); });
    connect(m_pPrint, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintDialog dlg(&printer, this);
        if (dlg.exec() == QDialog::Accepted) PrintTeam(printer, m_Table, TeamPrintOptions());
    });
    connect(m_pPreview, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintPreviewDialog dlg(&printer, this);
        connect(&dlg, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* p) { PrintTeam(*p, m_Table, TeamPrintOptions()); });
        dlg.exec();
    });
    connect(m_pPdf, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QStr(IDS_LIBGUI_FILTER_PDF));
        if (path.isEmpty()) return;
        if (const Result saved = SavePdf(path); !saved) QMessageBox::warning(this, windowTitle(), QU8(saved.message));
    });
    connect(m_pCsv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QStr(IDS_LIBGUI_FILTER_CSV));
        if (path.isEmpty()) return;
        if (const Result saved = SaveCsv(path); !saved) QMessageBox::warning(this, windowTitle(), QU8(saved.message));
    });
    resize(1100, 520);
    Build();
}

void CTeamDialog::Build() {
    COleDateTime before(0.0, COleDateTime::invalid);
    if (m_pBefore->isChecked()) {
        const QDate d = m_pDate->date();
        before = COleDateTime::FromParts(d.year(), d.month(), d.day(), 0, 0, 0);
    }
    const QDir folder(m_pService->Folder());
    m_pService->WithIndex([&](CLibraryIndex& index) {
        std::vector<int> entries;
        for (const QString& f : m_Files) {
            const std::string rel = folder.relativeFilePath(f).toStdString();
            for (size_t i = 0; i < index.Entries().size(); ++i)
                if (index.Entries()[i].file == rel) entries.push_back(static_cast<int>(i));
        }
        std::vector<std::string> methods = DefaultHistoryMethods();
        methods.resize(3);  // IANS, OBLA 4 and Dmax: a table that fits a page
        m_Table = MakeTeamTable(index, BuildTeam(index, entries, methods, before), methods);
    });
    m_pTable->setSortingEnabled(false);
    m_pTable->clear();
    m_pTable->setColumnCount(static_cast<int>(m_Table.header.size()));
    m_pTable->setRowCount(static_cast<int>(m_Table.rows.size()));
    QStringList header;
    for (size_t c = 0; c < m_Table.header.size(); ++c)
        header << QU8(m_Table.group[c].empty() ? m_Table.header[c] : m_Table.group[c] + "\n" + m_Table.header[c]);
    m_pTable->setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < m_Table.rows.size(); ++r)
        for (size_t c = 0; c < m_Table.rows[r].size(); ++c)
            m_pTable->setItem(static_cast<int>(r), static_cast<int>(c),
                              new Cell(QU8(m_Table.rows[r][c]), m_Table.numeric[c]));
    m_pTable->setSortingEnabled(true);
    m_pTable->resizeColumnsToContents();
}

QString CTeamDialog::CopyText() const {
    QString out;
    QStringList head;
    for (size_t c = 0; c < m_Table.header.size(); ++c) head << QU8(m_Table.FullHeader(c));
    out += head.join(QLatin1Char('\t')) + QLatin1Char('\n');
    // In the order the table shows now (sorted as the user sorted it).
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_pTable->columnCount(); ++c)
            cells << (m_pTable->item(r, c) ? m_pTable->item(r, c)->text() : QString());
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

Result CTeamDialog::SavePdf(const QString& path) const {
    return WriteTeamPdf(path.toStdString(), m_Table, TeamPrintOptions());
}

Result CTeamDialog::SaveCsv(const QString& path) const { return WriteTeamCsv(m_Table, path.toStdString()); }
