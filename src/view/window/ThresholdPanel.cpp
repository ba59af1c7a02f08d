#include "view/window/ThresholdPanel.h"

#include "data/Records.h"
#include "res/StringIds.h"
#include "res/Strings.h"
#include "view/QtText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace trv;

namespace {

QString Num(const std::optional<double>& v, const char* fmt) { return v ? QU8(Fmt(fmt, *v)) : QString(); }

QString Load(const TestThresholds& r, const std::optional<double>& v) {
    return v ? QU8(Fmt("%.2f", LoadInTestUnit(*v, r.loadUnit))) : QString();
}

QString Pace(const TestThresholds& r, const std::optional<double>& v) {
    if (!r.IsSpeed() || !v) return {};
    const std::optional<int> s = PaceSeconds(*v);
    return s ? QU8(Fmt("%02d:%02d", *s / 60, *s % 60)) : QString();
}

QString Range(const QString& from, const QString& to) {
    if (!from.isEmpty() && !to.isEmpty()) return from + QStringLiteral(" – ") + to;
    if (!to.isEmpty()) return QStringLiteral("< ") + to;
    if (!from.isEmpty()) return QStringLiteral("> ") + from;
    return {};
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(20);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setWordWrap(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

// Every column of `t` whole, as its header resizes them to their contents, frame and vertical scroll bar
// included.
int TableWidth(const QTableWidget* t) {
    const QAbstractItemView* view = t;  // the column hint is public on the base
    int width = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < t->columnCount(); ++c)
        width += std::max(view->sizeHintForColumn(c), t->horizontalHeader()->sectionSizeHint(c));
    return width;
}

QTableWidgetItem* Cell(const QString& text, bool number = true) {
    auto* item = new QTableWidgetItem(text);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// The table as tab-separated lines: the header, then every row.
QString TableText(const QTableWidget* t) {
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < t->columnCount(); ++c) cells << t->horizontalHeaderItem(c)->text();
    lines << cells.join(QLatin1Char('\t'));
    for (int r = 0; r < t->rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < t->columnCount(); ++c) cells << (t->item(r, c) ? t->item(r, c)->text() : QString());
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

CThresholdPanel::CThresholdPanel(QWidget* parent) : QWidget(parent) {
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(QStr(IDS_THR_PANEL_TITLE)), this);
    m_pCopy = new QPushButton(QStr(IDS_THR_COPY), this);
    m_pCopy->setToolTip(QStr(IDS_THR_COPY_TIP));
    connect(m_pCopy, &QPushButton::clicked, this, &CThresholdPanel::CopyTables);
    m_pTabs = new QTabWidget(this);
    m_pNone = new QLabel(QStr(IDS_THR_NONE), this);
    m_pNone->setAlignment(Qt::AlignCenter);
    auto* head = new QHBoxLayout;
    head->addWidget(title);
    head->addStretch(1);
    head->addWidget(m_pCopy);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addLayout(head);
    lay->addWidget(m_pTabs, 1);
    lay->addWidget(m_pNone, 1);
    MakeZoneControls(lay);
    m_pTabs->hide();
    m_pCopy->setEnabled(false);
}

int CThresholdPanel::WantedWidth() const {
    int wanted = kLeastWidth;
    for (const Page& p : m_Pages) {
        const QMargins m = p.widget->layout()->contentsMargins();
        // The tab's frame: twice the style's frame width and a pixel each side.
        const int frame = 2 * (style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_pTabs) + 1);
        wanted = std::max(wanted, std::max(TableWidth(p.methods), TableWidth(p.zones)) + m.left() + m.right() + frame);
    }
    return wanted;
}

int CThresholdPanel::WidthIn(int row, int wanted, int chartLeast) {
    const int chart = std::max(chartLeast, row * 11 / 20);
    return std::max(kLeastWidth, std::min(wanted, row - chart));
}

void CThresholdPanel::SetWidth(int width) {
    if (width == m_nWidth) return;
    m_nWidth = width;
    updateGeometry();
}

QSize CThresholdPanel::sizeHint() const { return {m_nWidth, QWidget::sizeHint().height()}; }

QTableWidget* CThresholdPanel::MethodTable(int tab) const {
    return tab >= 0 && tab < static_cast<int>(m_Pages.size()) ? m_Pages[static_cast<size_t>(tab)].methods : nullptr;
}

QTableWidget* CThresholdPanel::ZoneTable(int tab) const {
    return tab >= 0 && tab < static_cast<int>(m_Pages.size()) ? m_Pages[static_cast<size_t>(tab)].zones : nullptr;
}

CThresholdPanel::Page CThresholdPanel::MakePage(const Entry& e) {
    const TestThresholds& r = e.result;
    const char* unit = LoadUnitText(r.loadUnit);
    Page page;
    page.widget = new QWidget(m_pTabs);
    QStringList methodHeads{QStr(IDS_THR_COL_METHOD), QU8(FmtId(IDS_THR_COL_LOAD, unit)), QStr(IDS_THR_COL_LACTATE),
                            QStr(IDS_THR_COL_HR)};
    if (r.IsSpeed()) methodHeads << QStr(IDS_THR_COL_PACE);
    page.methods = MakeTable(page.widget, methodHeads);
    page.methods->setRowCount(static_cast<int>(r.methods.size()));
    page.methods->setToolTip(QStr(IDS_THR_MARK_TIP));
    for (size_t i = 0; i < r.methods.size(); ++i) {
        const MethodResult& m = r.methods[i];
        const int row = static_cast<int>(i);
        auto* label = Cell(QU8(m.label), false);
        if (m.ok) {
            label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            label->setCheckState(m_Ticked.count({e.testIndex, m.id}) ? Qt::Checked : Qt::Unchecked);
        } else {
            label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            label->setToolTip(QU8(m.reason));
        }
        page.methods->setItem(row, 0, label);
        if (!m.ok) {
            auto* none = Cell(QStr(IDS_NOT_DETERMINABLE), false);
            none->setToolTip(QU8(m.reason));
            none->setForeground(QColor(0x80, 0x80, 0x80));
            page.methods->setItem(row, 1, none);
            page.methods->setSpan(row, 1, 1, page.methods->columnCount() - 1);
            continue;
        }
        page.methods->setItem(row, 1, Cell(Load(r, m.load)));
        page.methods->setItem(row, 2, Cell(Num(m.lactate, "%.2f")));
        page.methods->setItem(row, 3, Cell(Num(m.heartRate, "%.0f")));
        if (r.IsSpeed()) page.methods->setItem(row, 4, Cell(Pace(r, m.load)));
    }
    const int tab = static_cast<int>(m_Pages.size());
    connect(page.methods, &QTableWidget::itemChanged, this,
            [this, tab](QTableWidgetItem* item) { OnItemChanged(tab, item->row()); });

    auto text = [](const std::optional<double>& v, const char* fmt) {
        return v ? QU8(Fmt(fmt, *v)) : QStringLiteral("–");
    };
    page.fit = new QLabel(
        QU8(FmtId(IDS_THR_FIT, text(r.baseline, "%.2f").toUtf8().constData(),
                  text(r.fit.r2, "%.4f").toUtf8().constData(), text(r.fit.residualError, "%.3f").toUtf8().constData())),
        page.widget);
    // On two lines in a narrow panel rather than widening the window beyond the screen.
    page.fit->setWordWrap(true);

    QStringList zoneHeads{QStr(IDS_THR_COL_ZONE), QStr(IDS_THR_COL_ZONE_NAME), QU8(FmtId(IDS_THR_COL_FROM, unit)),
                          QU8(FmtId(IDS_THR_COL_TO, unit)), QStr(IDS_THR_COL_HR)};
    if (r.IsSpeed()) zoneHeads << QStr(IDS_THR_COL_PACE);
    page.zones = MakeTable(page.widget, zoneHeads);
    page.zones->setRowCount(static_cast<int>(r.zones.size()));
    for (size_t i = 0; i < r.zones.size(); ++i) {
        const ZoneResult& z = r.zones[i];
        const int row = static_cast<int>(i);
        page.zones->setItem(row, 0, Cell(QU8(z.code), false));
        page.zones->setItem(row, 1, Cell(QU8(z.name), false));
        page.zones->setItem(row, 2, Cell(Load(r, z.loadFrom)));
        page.zones->setItem(row, 3, Cell(Load(r, z.loadTo)));
        page.zones->setItem(row, 4, Cell(Range(Num(z.heartRateFrom, "%.0f"), Num(z.heartRateTo, "%.0f"))));
        if (r.IsSpeed()) page.zones->setItem(row, 5, Cell(Range(Pace(r, z.loadTo), Pace(r, z.loadFrom))));
    }
    page.zones->setFixedHeight(page.zones->horizontalHeader()->sizeHint().height() + 5 * 20 + 4);
    auto* noZones = new QLabel(NoZonesText(r), page.widget);
    noZones->setWordWrap(true);
    auto* caption = new QLabel(ZoneCaption(r), page.widget);
    caption->setWordWrap(true);
    noZones->setVisible(r.zones.empty());
    page.zones->setVisible(!r.zones.empty());

    for (QTableWidget* t : {page.methods, page.zones}) {
        auto* copy = new QAction(t);
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetShortcut);
        connect(copy, &QAction::triggered, this, [t] { QApplication::clipboard()->setText(TableText(t)); });
        t->addAction(copy);
    }

    auto* lay = new QVBoxLayout(page.widget);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->addWidget(page.methods, 1);
    lay->addWidget(page.fit);
    lay->addWidget(caption);
    lay->addWidget(page.zones);
    lay->addWidget(noZones);
    return page;
}

void CThresholdPanel::SetEntries(std::vector<Entry> entries) {
    m_bFilling = true;
    // Ticks belong to a test and a method; those of tests no longer shown go.
    std::set<std::pair<int, std::string>> kept;
    for (const auto& t : m_Ticked)
        for (const Entry& e : entries)
            if (e.testIndex == t.first) kept.insert(t);
    m_Ticked = kept;
    const int current = m_pTabs->currentIndex();
    m_pTabs->clear();
    for (Page& p : m_Pages) p.widget->deleteLater();
    m_Pages.clear();
    m_Entries = std::move(entries);
    for (const Entry& e : m_Entries) {
        Page page = MakePage(e);
        m_Pages.push_back(page);
        const std::string date = e.test && !e.test->m_Steps.empty() ? e.test->m_Steps.front().m_Time.FormatDate() : "";
        m_pTabs->addTab(page.widget,
                        QU8(FmtId(IDS_THR_TEST_TAB, e.slot + 1, TestTypeText(e.result.testType), date.c_str())));
    }
    for (size_t tab = 0; tab < m_Pages.size(); ++tab) ApplyUncertainty(tab);
    if (current >= 0 && current < m_pTabs->count()) m_pTabs->setCurrentIndex(current);
    m_pTabs->setVisible(!m_Entries.empty());
    m_pNone->setVisible(m_Entries.empty());
    m_pCopy->setEnabled(!m_Entries.empty());
    m_bFilling = false;
    emit wantedWidthChanged();
}

void CThresholdPanel::OnItemChanged(int tab, int row) {
    if (m_bFilling || tab >= static_cast<int>(m_Entries.size())) return;
    const Entry& e = m_Entries[static_cast<size_t>(tab)];
    if (row < 0 || row >= static_cast<int>(e.result.methods.size())) return;
    const QTableWidgetItem* item = m_Pages[static_cast<size_t>(tab)].methods->item(row, 0);
    const std::pair<int, std::string> key{e.testIndex, e.result.methods[static_cast<size_t>(row)].id};
    const bool was = m_Ticked.count(key) != 0;
    const bool now = item && item->checkState() == Qt::Checked;
    if (was == now) return;
    if (now)
        m_Ticked.insert(key);
    else
        m_Ticked.erase(key);
    emit marksChanged();
}

std::vector<CThresholdPanel::Mark> CThresholdPanel::Marks() const {
    std::vector<Mark> marks;
    for (const Entry& e : m_Entries)
        for (const MethodResult& m : e.result.methods)
            if (m.ok && m_Ticked.count({e.testIndex, m.id})) {
                Mark mark{e.slot, LoadInTestUnit(*m.load, e.result.loadUnit), m.label, std::nullopt, std::nullopt};
                const auto u = m_Uncertainty.find(e.testIndex);
                const MethodInterval* ci =
                    u != m_Uncertainty.end() && u->second ? u->second->intervals.Find(m.id) : nullptr;
                if (ci && ci->ok) {
                    mark.bandFrom = LoadInTestUnit(*ci->low, e.result.loadUnit);
                    mark.bandTo = LoadInTestUnit(*ci->high, e.result.loadUnit);
                }
                marks.push_back(mark);
            }
    return marks;
}

void CThresholdPanel::SetUncertainty(int testIndex, const TestUncertainty* u) {
    if (u)
        m_Uncertainty[testIndex] = *u;
    else
        m_Uncertainty[testIndex].reset();
    for (size_t tab = 0; tab < m_Entries.size(); ++tab)
        if (m_Entries[tab].testIndex == testIndex) ApplyUncertainty(tab);
    emit marksChanged();
}

void CThresholdPanel::ApplyUncertainty(size_t tab) {
    if (tab >= m_Pages.size() || tab >= m_Entries.size()) return;
    const Entry& e = m_Entries[tab];
    QTableWidget* table = m_Pages[tab].methods;
    const auto found = m_Uncertainty.find(e.testIndex);
    const bool known = found != m_Uncertainty.end();
    const TestUncertainty* u = known && found->second ? &*found->second : nullptr;
    const bool filling = m_bFilling;
    m_bFilling = true;
    for (size_t i = 0; i < e.result.methods.size(); ++i) {
        const MethodResult& m = e.result.methods[i];
        QTableWidgetItem* cell = table->item(static_cast<int>(i), 1);
        if (!m.ok || !cell) continue;
        const MethodInterval* ci = u ? u->intervals.Find(m.id) : nullptr;
        QString text = QU8(LoadWithInterval(*m.load, ci, e.result.loadUnit));
        QString tip;
        if (known && !u) {
            text += QStringLiteral(" (…)");
            tip = QStr(IDS_CI_COMPUTING);
        } else if (ci && !ci->ok) {
            text += QU8(std::string(" (") + LoadStr(IDS_CI_NONE) + ")");
            tip = QU8(ci->reason);
        }
        cell->setText(text);
        cell->setToolTip(tip);
    }
    m_bFilling = filling;
    emit wantedWidthChanged();
}

QString CThresholdPanel::TablesText(int tab) const {
    if (tab < 0 || tab >= static_cast<int>(m_Pages.size())) return {};
    const Page& p = m_Pages[static_cast<size_t>(tab)];
    QString text = TableText(p.methods) + QLatin1Char('\n') + p.fit->text() + QLatin1Char('\n');
    if (p.zones->rowCount() > 0) text += QLatin1Char('\n') + TableText(p.zones) + QLatin1Char('\n');
    return text;
}

void CThresholdPanel::CopyTables() const {
    const QString text = TablesText(m_pTabs->currentIndex());
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}
