#include "view/history/HistoryIntervals.h"

#include "analysis/HistoryUncertainty.h"
#include "view/settings/UncertaintySettings.h"

#include <QMetaObject>

using namespace trv;

CHistoryIntervals::CHistoryIntervals(QObject* parent) : QObject(parent) {}

CHistoryIntervals::~CHistoryIntervals() { Stop(); }

void CHistoryIntervals::Stop() {
    if (m_cancel) *m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

void CHistoryIntervals::Request(const CTRVDoc& doc, const std::vector<HistoryRow>& rows) {
    Stop();
    if (rows.empty()) return;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    m_thread = std::thread([this, cancel, doc = std::make_shared<CTRVDoc>(doc), rows = std::vector<HistoryRow>(rows),
                            error = LoadErrorModel(), d = LoadDayToDay()]() mutable {
        if (!AddHistoryIntervals(*doc, rows, error, d, cancel.get()) || *cancel) return;
        QMetaObject::invokeMethod(
            this,
            [this, cancel, rows = std::move(rows)]() mutable {
                if (!*cancel) emit done(std::move(rows));
            },
            Qt::QueuedConnection);
    });
}
