#pragma once
// The intervals and flagged readings of the shown tests, computed away from the GUI thread: each
// test on a thread of its own. A request for a test whose content changed cancels its running
// computation and starts anew; a finished result is announced by ready() on the GUI thread.
#include "analysis/Uncertainty.h"
#include "data/Records.h"

#include <QObject>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CUncertaintyWorker : public QObject {
    Q_OBJECT
public:
    explicit CUncertaintyWorker(QObject* parent = nullptr);
    ~CUncertaintyWorker() override;

    struct Job {
        int testIndex = -1;
        trv::TestDataType test;
        int fit = 0, model = 0;
    };
    // The tests to keep computed; others are dropped (and their computations cancelled).
    void Request(std::vector<Job> jobs, const trv::ErrorModel& error);
    // The result of a test of the last request; null while it is being computed.
    const trv::TestUncertainty* Result(int testIndex) const;
    // True while any computation runs.
    bool Busy() const;

signals:
    void ready(int testIndex);

private:
    struct Task {
        std::string key;
        std::atomic<bool> cancel{false};
        std::atomic<bool> done{false};
        trv::TestUncertainty result;
    };
    void Reap(bool all);

    std::map<int, std::shared_ptr<Task>> m_Tasks;  // by test index
    std::vector<std::pair<std::shared_ptr<Task>, std::thread>> m_Threads;
};
