#include "view/dialogs/ManualTestDialog.h"

#include "view/QtDate.h"
#include "view/QtText.h"
#include "view/dialogs/EntryChoices.h"
#include "view/dialogs/EntryTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstdio>

using namespace trv;

namespace {

const QColor kInvalidCell(255, 190, 190);

// "03:00" or "180" (seconds); -1 when neither.
int ParseDuration(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    int m = 0, sec = 0;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d:%d%c", &m, &sec, &tail) == 2 && m >= 0 && sec >= 0 && sec < 60) return m * 60 + sec;
    double v = 0;
    return ParseDecimal(s, v) && v >= 0 && v < 1e6 ? static_cast<int>(v + 0.5) : -1;
}

QString Shown(double v) { return QU8(Fmt("%g", v)); }

}  // namespace

CManualTestDialog::CManualTestDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStr(IDS_MT_TITLE));
    const EntryChoices choices = MakeEntryChoices(this);
    m_pTestType = choices.testType;
    m_pUnit = choices.unit;
    m_pFirstStep = choices.firstStep;
    m_pFirstStep->setDateTime(ToQDateTime(m_entry.m_FirstStep));
    m_pStepDuration = new QLineEdit(QStringLiteral("03:00"), this);
    m_pTrackLabel = new QLabel(QStr(IDS_MT_TRACK), this);
    m_pTrack = new QLineEdit(Shown(m_entry.m_dTrackLength), this);
    m_pComputed = new QRadioButton(QStr(IDS_MT_LOADS_COMPUTED), this);
    m_pIndividual = new QRadioButton(QStr(IDS_MT_LOADS_INDIVIDUAL), this);
    auto* loads = new QButtonGroup(this);
    loads->addButton(m_pComputed);
    loads->addButton(m_pIndividual);
    m_pComputed->setChecked(true);
    m_pStart = new QLineEdit(this);
    m_pIncrement = new QLineEdit(this);
    m_pStartUnit = new QLabel(this);
    m_pIncrementUnit = new QLabel(this);
    for (QLineEdit* e : {m_pStepDuration, m_pTrack, m_pStart, m_pIncrement}) e->setMaximumWidth(80);
    m_pTable = new CEntryTable(this);
    m_pTable->setColumnCount(CManualEntry::ColumnCount);
    m_pTable->m_EnterSkips = {CManualEntry::ColType, CManualEntry::ColMinutesAfter};
    m_pTable->verticalHeader()->setDefaultSectionSize(22);
    m_pTable->setMinimumSize(640, 260);
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pMessage = new QLabel(this);
    m_pMessage->setWordWrap(true);
    m_pMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* hint = new QLabel(QStr(IDS_MT_HINT), this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    QGridLayout* settings = choices.grid;
    settings->addWidget(new QLabel(QStr(IDS_MT_STEP_DURATION), this), 1, 2);
    settings->addWidget(m_pStepDuration, 1, 3);
    settings->addWidget(m_pTrackLabel, 1, 4);
    settings->addWidget(m_pTrack, 1, 5);
    settings->addWidget(m_pComputed, 2, 0, 1, 2);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(new QLabel(QStr(IDS_MT_START), this));
    startRow->addWidget(m_pStart);
    startRow->addWidget(m_pStartUnit);
    startRow->addSpacing(12);
    startRow->addWidget(new QLabel(QStr(IDS_MT_INCREMENT), this));
    startRow->addWidget(m_pIncrement);
    startRow->addWidget(m_pIncrementUnit);
    startRow->addStretch();
    settings->addLayout(startRow, 2, 2, 1, 4);
    settings->addWidget(m_pIndividual, 3, 0, 1, 2);
    settings->setColumnStretch(6, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(hint);
    layout->addWidget(m_pTable, 1);
    layout->addWidget(m_pMessage);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CManualTestDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pTestType, &QComboBox::currentIndexChanged, this, [this](int type) {
        if (m_bRefreshing) return;
        m_entry.SetTestType(type);
        Refresh();
    });
    for (QComboBox* box : {m_pUnit})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            ReadSettings();
            Refresh();
        });
    for (QLineEdit* e : {m_pStepDuration, m_pTrack, m_pStart, m_pIncrement})
        connect(e, &QLineEdit::textEdited, this, [this] {
            ReadSettings();
            Refresh();
        });
    connect(m_pIndividual, &QRadioButton::toggled, this, [this] {
        ReadSettings();
        Refresh();
    });
    connect(m_pTable, &QTableWidget::cellChanged, this, &CManualTestDialog::OnCellChanged);
    m_pTable->m_OnPaste = [this](int row, int column, const std::vector<std::vector<std::string>>& block) {
        m_entry.PasteRows(row, column, block);
        Refresh();
    };
    Refresh();
    m_pTable->setCurrentCell(0, CManualEntry::ColLactate);
}

void CManualTestDialog::ReadSettings() {
    if (m_bRefreshing) return;
    m_entry.m_nLoadUnit = m_pUnit->currentIndex();
    m_entry.m_FirstStep = FromQDateTime(m_pFirstStep->dateTime());
    m_entry.m_bIndividualLoads = m_pIndividual->isChecked();
    const int duration = ParseDuration(m_pStepDuration->text());
    if (duration > 0) m_entry.m_nStepDuration = duration;
    double v = 0;
    if (ParseDecimal(m_pTrack->text().toStdString(), v)) m_entry.m_dTrackLength = v;
    if (ParseDecimal(m_pStart->text().toStdString(), v)) m_entry.m_dStartLoad = v;
    if (ParseDecimal(m_pIncrement->text().toStdString(), v)) m_entry.m_dIncrement = v;
}

QString CManualTestDialog::SettingsError() const {
    double v = 0;
    auto bad = [](int label, const QLineEdit* e) {
        return QU8(FmtId(IDS_MT_BAD_SETTING, LoadStr(label), e->text().toStdString().c_str()));
    };
    const int duration = ParseDuration(m_pStepDuration->text());
    if (duration < 10 || duration > 600) return bad(IDS_MT_STEP_DURATION, m_pStepDuration);
    if (m_entry.m_nTestType == TestField && !(ParseDecimal(m_pTrack->text().toStdString(), v) && v > 0))
        return bad(IDS_MT_TRACK, m_pTrack);
    if (!m_entry.m_bIndividualLoads) {
        if (!(ParseDecimal(m_pStart->text().toStdString(), v) && v >= 0)) return bad(IDS_MT_START, m_pStart);
        if (!(ParseDecimal(m_pIncrement->text().toStdString(), v) && v > 0)) return bad(IDS_MT_INCREMENT, m_pIncrement);
    }
    return {};
}

void CManualTestDialog::Refresh() {
    m_bRefreshing = true;
    const QSignalBlocker block(m_pTable);
    {
        const QSignalBlocker b1(m_pTestType), b2(m_pUnit);
        m_pTestType->setCurrentIndex(m_entry.m_nTestType);
        m_pUnit->setCurrentIndex(m_entry.m_nLoadUnit);
    }
    const QString unit = QString::fromUtf8(LoadUnitText(m_entry.m_nLoadUnit));
    m_pStartUnit->setText(unit);
    m_pIncrementUnit->setText(unit);
    double v = 0;
    if (!(ParseDecimal(m_pStart->text().toStdString(), v) && v == m_entry.m_dStartLoad))
        m_pStart->setText(QU8(Fmt("%g", m_entry.m_dStartLoad)));
    if (!(ParseDecimal(m_pIncrement->text().toStdString(), v) && v == m_entry.m_dIncrement))
        m_pIncrement->setText(QU8(Fmt("%g", m_entry.m_dIncrement)));
    const bool field = m_entry.m_nTestType == TestField;
    m_pTrackLabel->setVisible(field);
    m_pTrack->setVisible(field);
    for (QWidget* w : {static_cast<QWidget*>(m_pStart), static_cast<QWidget*>(m_pIncrement)})
        w->setEnabled(!m_entry.m_bIndividualLoads);

    const QStringList headers = {
        QStr(IDS_MT_COL_TYPE),     QU8(FmtId(IDS_MT_COL_LOAD, LoadUnitText(m_entry.m_nLoadUnit))),
        QStr(IDS_COL_LACTATE),     QStr(IDS_COL_HEART_RATE),
        QStr(IDS_MT_COL_DURATION), QStr(IDS_MT_COL_MINUTES)};
    m_pTable->setHorizontalHeaderLabels(headers);
    m_pTable->setColumnHidden(CManualEntry::ColDuration, !field);
    m_pTable->setRowCount(m_entry.RowCount());
    QString first;
    for (int r = 0; r < m_entry.RowCount(); ++r)
        for (int c = 0; c < CManualEntry::ColumnCount; ++c) {
            QTableWidgetItem* item = m_pTable->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                m_pTable->setItem(r, c, item);
            }
            item->setText(QU8(m_entry.ShownText(r, c)));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (m_entry.IsEditable(r, c)) flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            const std::string why = m_entry.CellError(r, c);
            item->setBackground(why.empty() ? QBrush() : QBrush(kInvalidCell));
            item->setForeground(m_entry.IsEditable(r, c) ? QBrush() : QBrush(QColor(110, 110, 110)));
            item->setToolTip(QU8(why));
            if (!why.empty() && first.isEmpty())
                first = QU8(FmtId(IDS_MT_CELL_ERROR, r + 1, headers[c].toStdString().c_str(), why.c_str()));
        }
    const QString settings = SettingsError();
    m_pMessage->setText(!settings.isEmpty() ? settings : first);
    m_bRefreshing = false;
}

void CManualTestDialog::OnCellChanged(int row, int column) {
    if (m_bRefreshing) return;
    const QTableWidgetItem* item = m_pTable->item(row, column);
    m_entry.SetCell(row, column, item ? item->text().trimmed().toStdString() : std::string());
    Refresh();
}

void CManualTestDialog::accept() {
    ReadSettings();
    Refresh();
    if (!m_pMessage->text().isEmpty()) {
        QMessageBox::warning(this, QStr(IDS_MT_TITLE), m_pMessage->text());
        return;
    }
    std::vector<std::string> questions;
    TestDataType test;
    if (const Result built = m_entry.Build(test, questions); !built) {
        QMessageBox::warning(this, QStr(IDS_MT_TITLE), QU8(built.message));
        return;
    }
    if (!questions.empty()) {
        std::string lines;
        for (const std::string& q : questions) lines += q + "\n";
        if (QMessageBox::question(this, QStr(IDS_MT_TITLE), QU8(FmtId(IDS_MT_ASK, lines.c_str()))) != QMessageBox::Yes)
            return;
    }
    m_test = std::move(test);
    QDialog::accept();
}
