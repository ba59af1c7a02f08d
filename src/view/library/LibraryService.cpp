#include "view/library/LibraryService.h"

#include <QMetaObject>
#include <QPointer>

using namespace trv;

CLibraryService::CLibraryService(QObject* parent) : QObject(parent), m_pIndex(std::make_unique<CLibraryIndex>()) {}

CLibraryService::~CLibraryService() { Wait(); }

void CLibraryService::Wait() {
    if (m_Worker.joinable()) m_Worker.join();
}

void CLibraryService::SetFolder(const QString& folder) {
    if (folder == m_strFolder && m_bOpen) return;
    m_strFolder = folder;
    m_bOpen = false;
    Refresh();
}

void CLibraryService::SetMethod(const std::string& id) {
    m_strMethod = id;
    Refresh();
}

void CLibraryService::SetChoice(const LibraryChoice& choice) {
    m_Choice = choice;
    Refresh();
}

void CLibraryService::Refresh() {
    if (m_bBusy) {
        m_bAgain = true;
        return;
    }
    Wait();
    m_bBusy = true;
    const std::string folder = m_strFolder.toStdString();
    const std::string method = m_strMethod;
    const LibraryChoice choice = m_Choice;
    const bool open = m_bOpen;
    m_Worker = std::thread([this, folder, method, choice, open] {
        std::vector<AthleteRow> rows;
        std::vector<std::string> groups;
        std::string error;
        {
            std::lock_guard<std::mutex> hold(m_Mutex);
            Result ready = open ? Result::Ok() : m_pIndex->Open(folder);
            if (ready) {
                m_pIndex->SetChoice(choice);
                ready = m_pIndex->Refresh(nullptr, [this](int done, int total) {
                    QMetaObject::invokeMethod(
                        this, [this, done, total] { emit progress(done, total); }, Qt::QueuedConnection);
                });
            }
            error = ready.message;
            const bool ok = ready.ok;
            if (ok) {
                groups = m_pIndex->Groups();
                for (size_t i = 0; i < m_pIndex->Entries().size(); ++i) {
                    AthleteRow r;
                    r.entry = static_cast<int>(i);
                    r.info = m_pIndex->Entries()[i];
                    if (r.info.error.empty()) {
                        if (const auto last = m_pIndex->Last(static_cast<int>(i), {method})) {
                            r.hasLast = true;
                            r.lastDate = last->test.date;
                            r.loadUnit = last->test.loadUnit;
                            if (!last->methods.empty()) {
                                r.load = last->methods[0].ok ? last->methods[0].load : std::nullopt;
                                r.change = last->methods[0].loadChange;
                            }
                        }
                    }
                    rows.push_back(std::move(r));
                }
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, rows = std::move(rows), groups = std::move(groups), error]() mutable {
                Finished(std::move(rows), std::move(groups), QString::fromStdString(error));
            },
            Qt::QueuedConnection);
    });
}

void CLibraryService::Finished(std::vector<AthleteRow> rows, std::vector<std::string> groups, QString error) {
    m_bBusy = false;
    m_bOpen = error.isEmpty();
    m_Rows = std::move(rows);
    m_Groups = std::move(groups);
    m_strError = error;
    emit refreshed();
    if (m_bAgain) {
        m_bAgain = false;
        Refresh();
    }
}

bool CLibraryService::WithIndex(const std::function<void(CLibraryIndex&)>& work) {
    if (m_bBusy || !m_bOpen) return false;
    Wait();
    std::lock_guard<std::mutex> hold(m_Mutex);
    work(*m_pIndex);
    return true;
}
