#include "view/library/AssignDialog.h"

#include "analysis/StepTest.h"
#include "data/Records.h"
#include "library/LibraryFolder.h"
#include "view/QtText.h"
#include "view/library/LibraryService.h"
#include "workspace/Workspace.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringListModel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace trv;

namespace {

QString AthleteText(const std::string& last, const std::string& first, const COleDateTime& birth,
                    const std::string& group) {
    QString s = QU8(last);
    if (!first.empty()) s += QStringLiteral(", ") + QU8(first);
    DateParts p;
    if (birth.IsValid() && birth.GetParts(p)) s += QStringLiteral(" (%1)").arg(p.year);
    if (!group.empty()) s += QStringLiteral(" \u00b7 ") + QU8(group);
    return s;
}

// The windows' side of the commit: open targets and the source through their workspaces.
class WindowHost : public IAssignHost {
public:
    explicit WindowHost(const AssignWindows& w) : m_w(w) {}
    CTRVDoc* OpenDocument(const std::string& path) override {
        CWorkspace* ws = m_w.workspaceOf ? m_w.workspaceOf(path) : nullptr;
        return ws ? &ws->Doc() : nullptr;
    }
    Result AddToOpen(const std::string& path, const std::vector<TestAddition>& additions) override {
        CWorkspace* ws = m_w.workspaceOf(path);
        const uint32_t changes = ws ? ws->AddAssignedTests(additions) : 0;
        if (changes && m_w.refresh) m_w.refresh(ws, changes);
        return changes != 0 ? Result::Ok() : Result::Fail({});
    }
    void UndoAddToOpen(const std::string& path) override {
        if (CWorkspace* ws = m_w.workspaceOf(path)) {
            const uint32_t changes = ws->Undo();
            if (m_w.refresh) m_w.refresh(ws, changes);
        }
    }
    Result PrepareSource() override { return Result::Ok(); }
    Result MarkSource(const std::vector<int>& tests) override {
        // Tests marked before stay marked; the command is refused only when nothing changes.
        const uint32_t changes = m_w.source->MarkAssigned(tests, true);
        if (changes && m_w.refresh) m_w.refresh(m_w.source, changes);
        return Result::Ok();
    }
    void ReleaseSource() override {}

private:
    const AssignWindows& m_w;
};

}  // namespace

CAssignDialog::CAssignDialog(CLibraryService* service, AssignWindows windows, std::vector<int> tests,
                             const QString& group, QWidget* parent)
    : QDialog(parent),
      m_pService(service),
      m_Windows(std::move(windows)),
      m_Tests(std::move(tests)),
      m_strGroup(group) {
    setWindowTitle(QStr(IDS_LIBGUI_ASSIGN_TITLE));
    const QDir folder(service->Folder());
    QStringList names;
    for (const AthleteRow& r : service->Rows()) {
        if (!r.info.error.empty()) continue;
        QString text = AthleteText(r.info.lastName, r.info.firstName, r.info.birthDate, r.info.group);
        if (m_Known.count(text)) text += QStringLiteral(" [%1]").arg(QU8(r.info.file));
        m_Known[text] = folder.filePath(QU8(r.info.file)).toStdString();
        names << text;
    }
    auto* v = new QVBoxLayout(this);
    auto* hint = new QLabel(QStr(IDS_LIBGUI_ASSIGN_HINT), this);
    hint->setWordWrap(true);
    v->addWidget(hint);
    m_pTable = new QTableWidget(static_cast<int>(m_Tests.size()), 6, this);
    m_pTable->setHorizontalHeaderLabels({QStr(IDS_TEAM_COL_DATE), QStr(IDS_LIBGUI_COL_TIME), QStr(IDS_TEAM_COL_TYPE),
                                         QStr(IDS_LIBGUI_COL_STEPS), QStr(IDS_LIBGUI_COL_MAX_LACTATE),
                                         QStr(IDS_LIBGUI_COL_ATHLETE)});
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setFocusPolicy(Qt::NoFocus);
    auto* model = new QStringListModel(names, this);
    const CTRVDoc& doc = m_Windows.source->Doc();
    for (size_t r = 0; r < m_Tests.size(); ++r) {
        const TestDataType& t = doc.GetTest(m_Tests[r]);
        const COleDateTime when =
            t.m_Steps.empty() ? COleDateTime(0.0, COleDateTime::invalid) : t.m_Steps.front().m_Time;
        const int steps = static_cast<int>(std::count_if(
            t.m_Steps.begin(), t.m_Steps.end(), [](const PCMDataType& m) { return m.m_nMeasType == MeasLoad; }));
        int maxLactate = 0;
        for (const PCMDataType& m : t.m_Steps) maxLactate = std::max<int>(maxLactate, m.m_nLactate);
        const QString cells[] = {QU8(when.FormatDate()), QU8(when.FormatTime()),
                                 QString::fromUtf8(TestTypeText(t.m_nTestType)), QString::number(steps),
                                 QU8(Fmt("%2.1f", maxLactate / 10.0))};
        for (int c = 0; c < 5; ++c) m_pTable->setItem(static_cast<int>(r), c, new QTableWidgetItem(cells[c]));
        auto* edit = new QLineEdit(m_pTable);
        auto* completer = new QCompleter(model, edit);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        edit->setCompleter(completer);
        const int row = static_cast<int>(r);
        edit->installEventFilter(this);
        connect(completer, QOverload<const QString&>::of(&QCompleter::activated), this,
                [this, row, edit](const QString& text) {
                    edit->setText(text);
                    QTimer::singleShot(0, this, [this, row] { Next(row); });
                });
        m_pTable->setCellWidget(row, 5, edit);
        m_Athletes.push_back(edit);
    }
    m_pTable->resizeColumnsToContents();
    m_pTable->setColumnWidth(5, 320);
    v->addWidget(m_pTable, 1);
    m_pError = new QLabel(this);
    m_pError->setWordWrap(true);
    m_pError->setStyleSheet(QStringLiteral("color: #a00000"));
    m_pError->hide();
    v->addWidget(m_pError);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_pNew = buttons->addButton(QStr(IDS_LIBGUI_NEW_ATHLETE), QDialogButtonBox::ActionRole);
    m_pNew->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAssignDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pNew, &QPushButton::clicked, this, &CAssignDialog::NewAthlete);
    resize(820, 160 + 30 * static_cast<int>(std::min<size_t>(m_Tests.size(), 20)));
    if (!m_Athletes.empty()) m_Athletes.front()->setFocus();
}

bool CAssignDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            for (size_t r = 0; r < m_Athletes.size(); ++r)
                if (m_Athletes[r] == watched) {
                    Next(static_cast<int>(r));
                    return true;
                }
    }
    return QDialog::eventFilter(watched, event);
}

void CAssignDialog::Next(int row, bool finish) {
    if (row + 1 < static_cast<int>(m_Athletes.size())) {
        m_Athletes[static_cast<size_t>(row + 1)]->setFocus();
        m_pTable->scrollTo(m_pTable->model()->index(row + 1, 0));
    } else {
        // After the last test, Enter once more on the last field means OK.
        if (finish && m_Athletes[static_cast<size_t>(row)]->hasFocus() &&
            !m_Athletes[static_cast<size_t>(row)]->text().isEmpty())
            accept();
    }
}

void CAssignDialog::NewAthlete() {
    // The row being typed in; else the first without an athlete.
    int row = -1;
    for (size_t r = 0; r < m_Athletes.size(); ++r)
        if (m_Athletes[r]->hasFocus()) row = static_cast<int>(r);
    for (size_t r = 0; r < m_Athletes.size() && row < 0; ++r)
        if (m_Athletes[r]->text().trimmed().isEmpty()) row = static_cast<int>(r);
    if (row < 0) row = 0;
    UserDataType user;
    if (!m_Windows.askAthlete || !m_Windows.askAthlete(user)) return;
    const std::string path = NewAthletePath(m_pService->Folder().toStdString(), m_strGroup.toStdString(), user);
    const QString text = AthleteText(user.m_strLastName, user.m_strFirstName,
                                     HasBirthDate(user) ? user.m_BirthDate : COleDateTime(0.0, COleDateTime::invalid),
                                     m_strGroup.toStdString()) +
                         QStringLiteral(" *");
    m_New[text] = {path, user};
    m_Athletes[static_cast<size_t>(row)]->setText(text);
    Next(row, false);
}

void CAssignDialog::accept() {
    std::vector<AssignRequest> requests;
    for (size_t r = 0; r < m_Tests.size(); ++r) {
        const QString text = m_Athletes[r]->text().trimmed();
        AssignRequest rq;
        rq.test = m_Tests[r];
        const TestAnalysis& choice = m_Windows.source->Analysis(rq.test);
        rq.fit = choice.m_nFitFunction;
        rq.model = choice.m_nThresholdModel;
        if (text.isEmpty()) {
            m_pError->setText(QU8(FmtId(IDS_LIBGUI_NO_ATHLETE, static_cast<int>(r + 1))));
            m_pError->show();
            m_Athletes[r]->setFocus();
            return;
        }
        if (const auto it = m_Known.find(text); it != m_Known.end()) {
            rq.target = it->second;
        } else if (const auto n = m_New.find(text); n != m_New.end()) {
            rq.target = n->second.first;
            rq.newAthlete = n->second.second;
        } else {
            m_pError->setText(
                QU8(FmtId(IDS_LIBGUI_UNKNOWN_ATHLETE, static_cast<int>(r + 1), text.toUtf8().constData())));
            m_pError->show();
            m_Athletes[r]->setFocus();
            return;
        }
        requests.push_back(rq);
    }
    WindowHost host(m_Windows);
    AssignPlan plan = PlanAssignment(m_Windows.source->Doc(), requests, &host);
    if (!plan.error.empty()) {
        QMessageBox::warning(this, windowTitle(), QU8(plan.error));
        return;
    }
    if (!plan.refused.empty()) {
        QString why;
        for (const auto& [test, message] : plan.refused) why += QU8(message) + QLatin1Char('\n');
        if (plan.Marked().empty()) {
            QMessageBox::warning(this, windowTitle(), why.trimmed());
            return;
        }
        if (QMessageBox::question(this, windowTitle(),
                                  QU8(FmtId(IDS_LIBGUI_REFUSED_GO_ON, why.trimmed().toUtf8().constData()))) !=
            QMessageBox::Yes)
            return;
    }
    if (const Result committed = CommitAssignment(plan, host); !committed) {
        QMessageBox::warning(this, windowTitle(), QU8(committed.message));
        return;
    }
    m_pService->Refresh();
    QDialog::accept();
}
