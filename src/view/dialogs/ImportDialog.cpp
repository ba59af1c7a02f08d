#include "view/dialogs/ImportDialog.h"

#include "view/QtDate.h"
#include "view/QtText.h"
#include "view/dialogs/EntryChoices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace trv;

namespace {

// Rows shown in the preview; the import takes all of them.
constexpr int kPreviewRows = 200;
// The background of a cell whose text its column cannot take.
const QColor kRefusedCell(255, 190, 190);

}  // namespace

CImportDialog::CImportDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStr(IDS_IMPD_TITLE));
    const EntryChoices choices = MakeEntryChoices(this);
    m_pTestType = choices.testType;
    m_pUnit = choices.unit;
    m_pDate = choices.firstStep;
    m_pDateFromFile = new QCheckBox(QStr(IDS_IMPD_DATE_FROM_FILE), this);
    m_pInfo = new QLabel(this);
    m_pInfo->setWordWrap(true);
    m_pPreview = new QTableWidget(this);
    // A refused cell is corrected where it is: double click, F2 or simply typing.
    m_pPreview->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_pPreview->verticalHeader()->setDefaultSectionSize(22);
    m_pPreview->setMinimumSize(640, 300);
    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    QGridLayout* options = choices.grid;
    options->addWidget(m_pDateFromFile, 1, 2, 1, 2);
    options->setColumnStretch(4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_pInfo);
    layout->addWidget(m_pPreview, 1);
    layout->addWidget(m_pStatus);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pTestType, &QComboBox::currentIndexChanged, this, [this](int type) {
        // The ergometer measures in W, the others in km/h unless the user picks another unit after this.
        m_pUnit->setCurrentIndex(type == TestErgometer ? UnitWatt : UnitKmh);
        Rebuild();
    });
    connect(m_pUnit, &QComboBox::currentIndexChanged, this, [this] { Rebuild(); });
    connect(m_pDate, &QDateTimeEdit::dateTimeChanged, this, [this] { Rebuild(); });
    connect(m_pDateFromFile, &QCheckBox::toggled, this, [this](bool on) {
        m_pDate->setEnabled(!on);
        Rebuild();
    });
    connect(m_pPreview, &QTableWidget::itemChanged, this, &CImportDialog::OnCellEdited);
}

void CImportDialog::OnCellEdited(QTableWidgetItem* item) {
    if (m_bFilling || !item || item->row() < 1) return;
    const size_t r = static_cast<size_t>(item->row() - 1);
    const size_t c = static_cast<size_t>(item->column());
    if (r >= m_table.m_Rows.size()) return;
    std::vector<std::string>& row = m_table.m_Rows[r];
    if (row.size() <= c) row.resize(c + 1);
    row[c] = item->text().trimmed().toStdString();
    Rebuild();
}

void CImportDialog::MarkRefusedCells() {
    const bool was = m_bFilling;
    m_bFilling = true;
    const QTableWidgetItem* first = nullptr;
    for (int r = 1; r < m_pPreview->rowCount(); ++r)
        for (int c = 0; c < m_pPreview->columnCount(); ++c) {
            QTableWidgetItem* item = m_pPreview->item(r, c);
            if (!item) continue;
            const int role = static_cast<size_t>(c) < m_mapping.size() ? m_mapping[static_cast<size_t>(c)] : RoleIgnore;
            const std::string why = ImportCellError(role, item->text().trimmed().toStdString());
            item->setBackground(why.empty() ? QBrush() : QBrush(kRefusedCell));
            item->setToolTip(QU8(why));
            if (!why.empty() && !first) first = item;
        }
    m_bFilling = was;
    m_pFirstRefused = first;
}

Result CImportDialog::Load(std::string_view bytes) {
    if (Result read = ReadImportTable(bytes, m_table); !read) return read;
    m_mapping = GuessImportMapping(m_table);
    // The table's own test type, unit and dates (the program's export carries them) set the choices.
    ManualTestInput guess;
    const bool read = ImportInputFromTable(m_table, m_mapping, {}, guess).ok;
    const bool dated = std::find(m_mapping.begin(), m_mapping.end(), RoleDate) != m_mapping.end();
    {
        const QSignalBlocker b1(m_pTestType), b2(m_pUnit), b3(m_pDateFromFile), b4(m_pDate);
        const int headerUnit = LoadUnitFromHeader(m_table, m_mapping);
        m_pTestType->setCurrentIndex(read ? guess.m_nTestType : headerUnit == UnitWatt ? TestErgometer : TestTreadmill);
        m_pUnit->setCurrentIndex(read ? guess.m_nLoadUnit : headerUnit >= 0 ? headerUnit : UnitKmh);
        m_pDateFromFile->setEnabled(dated);
        m_pDateFromFile->setChecked(dated);
        m_pDate->setEnabled(!dated);
        if (read && dated) m_pDate->setDateTime(ToQDateTime(guess.m_FirstStep));
    }
    const char* encodings[] = {"UTF-8", "Windows-1252", "UTF-16"};
    const std::string sep = m_table.m_cSeparator == '\t' ? LoadStr(IDS_IMPD_TAB) : std::string(1, m_table.m_cSeparator);
    m_pInfo->setText(QU8(FmtId(IDS_IMPD_INFO, static_cast<int>(m_table.m_Rows.size()), ("\"" + sep + "\"").c_str(),
                               encodings[m_table.m_Encoding])));
    FillPreview();
    Rebuild();
    return Result::Ok();
}

QComboBox* CImportDialog::RoleBox(int column) const {
    return qobject_cast<QComboBox*>(m_pPreview->cellWidget(0, column));
}

void CImportDialog::FillPreview() {
    const bool was = m_bFilling;
    m_bFilling = true;
    const int columns = m_table.ColumnCount();
    const int rows = std::min(static_cast<int>(m_table.m_Rows.size()), kPreviewRows);
    m_pPreview->setColumnCount(columns);
    m_pPreview->setRowCount(rows + 1);
    QStringList headers, lines{QString()};
    for (int c = 0; c < columns; ++c)
        headers << (static_cast<size_t>(c) < m_table.m_Header.size() ? QU8(m_table.m_Header[static_cast<size_t>(c)])
                                                                     : QString::number(c + 1));
    m_pPreview->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < columns; ++c) {
        auto* box = new QComboBox(m_pPreview);
        for (int role = RoleIgnore; role < RoleCount; ++role) box->addItem(QString::fromUtf8(ImportRoleName(role)));
        box->setCurrentIndex(m_mapping[static_cast<size_t>(c)]);
        connect(box, &QComboBox::currentIndexChanged, this, [this, c](int role) {
            // A role belongs to one column: the column that had it before gives it up.
            for (size_t k = 0; k < m_mapping.size(); ++k)
                if (static_cast<int>(k) != c && m_mapping[k] == role && role != RoleIgnore) {
                    m_mapping[k] = RoleIgnore;
                    const QSignalBlocker block(RoleBox(static_cast<int>(k)));
                    RoleBox(static_cast<int>(k))->setCurrentIndex(RoleIgnore);
                }
            m_mapping[static_cast<size_t>(c)] = role;
            if (const int unit = LoadUnitFromHeader(m_table, m_mapping); role == RoleLoad && unit >= 0) {
                // Watts come from the bike, speeds from treadmill or track: the test type follows the unit.
                const QSignalBlocker block(m_pUnit), blockType(m_pTestType);
                m_pUnit->setCurrentIndex(unit);
                if ((unit == UnitWatt) != (m_pTestType->currentIndex() == TestErgometer))
                    m_pTestType->setCurrentIndex(unit == UnitWatt ? TestErgometer : TestTreadmill);
            }
            const bool dated = std::find(m_mapping.begin(), m_mapping.end(), RoleDate) != m_mapping.end();
            m_pDateFromFile->setEnabled(dated);
            if (!dated) m_pDateFromFile->setChecked(false);
            Rebuild();
        });
        m_pPreview->setCellWidget(0, c, box);
    }
    for (int r = 0; r < rows; ++r) {
        lines << QString::number(m_table.m_Lines[static_cast<size_t>(r)]);
        const auto& row = m_table.m_Rows[static_cast<size_t>(r)];
        for (int c = 0; c < columns; ++c)
            m_pPreview->setItem(
                r + 1, c,
                new QTableWidgetItem(static_cast<size_t>(c) < row.size() ? QU8(row[static_cast<size_t>(c)])
                                                                         : QString()));
    }
    // The row headers give the lines of the file, so that a message naming a line is found at once.
    m_pPreview->setVerticalHeaderLabels(lines);
    m_pPreview->resizeColumnsToContents();
    m_bFilling = was;
}

bool CImportDialog::Rebuild(std::vector<std::string>* questions) {
    ImportOptions options;
    options.m_nTestType = m_pTestType->currentIndex();
    options.m_nLoadUnit = m_pUnit->currentIndex();
    if (!m_pDateFromFile->isChecked()) options.m_Date = FromQDateTime(m_pDate->dateTime());
    ManualTestInput input;
    std::vector<std::string> asked;
    TestDataType test;
    Result built = ImportInputFromTable(m_table, m_mapping, options, input);
    if (built) built = BuildManualTest(input, test, asked);
    const bool ok = built.ok;
    const std::string& error = built.message;
    MarkRefusedCells();
    m_pStatus->setStyleSheet(ok ? QString() : QStringLiteral("color: #b00000"));
    std::string text = ok ? FmtId(IDS_IMPD_READY, static_cast<int>(test.m_Steps.size())) : error;
    if (!ok && m_pFirstRefused) text += " " + std::string(LoadStr(IDS_IMPD_CORRECT_HINT));
    m_pStatus->setText(QU8(text));
    if (ok) m_test = std::move(test);
    if (questions) *questions = std::move(asked);
    return ok;
}

void CImportDialog::accept() {
    std::vector<std::string> questions;
    if (!Rebuild(&questions)) {
        QMessageBox::warning(this, QStr(IDS_IMPD_TITLE), m_pStatus->text());
        // Straight to the cell to correct.
        if (m_pFirstRefused) {
            m_pPreview->setCurrentItem(const_cast<QTableWidgetItem*>(m_pFirstRefused));
            m_pPreview->setFocus();
        }
        return;
    }
    if (!questions.empty()) {
        std::string lines;
        for (const std::string& q : questions) lines += q + "\n";
        if (QMessageBox::question(this, QStr(IDS_IMPD_TITLE), QU8(FmtId(IDS_MT_ASK, lines.c_str()))) !=
            QMessageBox::Yes)
            return;
    }
    QDialog::accept();
}
