#pragma once
// The history's intervals and clear changes, computed away from the GUI thread: a request copies
// the document and the rows; a newer request (or the end) cancels the one running. The finished rows
// come back through done() on the GUI thread.
#include "analysis/History.h"
#include "data/TRVDoc.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class CHistoryIntervals : public QObject {
    Q_OBJECT
public:
    explicit CHistoryIntervals(QObject* parent = nullptr);
    ~CHistoryIntervals() override;
    void Request(const trv::CTRVDoc& doc, const std::vector<trv::HistoryRow>& rows);

signals:
    void done(std::vector<trv::HistoryRow> rows);

private:
    void Stop();
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::thread m_thread;
};
