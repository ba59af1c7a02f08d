#include "view/window/UncertaintyWorker.h"

#include "analysis/ThresholdCache.h"

#include <QMetaObject>

#include <cstdio>

using namespace trv;

CUncertaintyWorker::CUncertaintyWorker(QObject* parent) : QObject(parent) {}

CUncertaintyWorker::~CUncertaintyWorker() {
    for (auto& [task, thread] : m_Threads) task->cancel = true;
    Reap(true);
}

void CUncertaintyWorker::Reap(bool all) {
    for (auto it = m_Threads.begin(); it != m_Threads.end();) {
        if (all || it->first->done) {
            it->second.join();
            it = m_Threads.erase(it);
        } else {
            ++it;
        }
    }
}

void CUncertaintyWorker::Request(std::vector<Job> jobs, const ErrorModel& error) {
    Reap(false);
    std::map<int, std::shared_ptr<Task>> next;
    for (Job& job : jobs) {
        char model[64];
        std::snprintf(model, sizeof model, "|%.17g|%.17g", error.a, error.c);
        const std::string key = CThresholdCache::Key(job.test, job.fit, job.model) + model;
        const auto old = m_Tasks.find(job.testIndex);
        if (old != m_Tasks.end() && old->second->key == key) {
            next[job.testIndex] = old->second;
            continue;
        }
        auto task = std::make_shared<Task>();
        task->key = key;
        next[job.testIndex] = task;
        const int index = job.testIndex;
        m_Threads.emplace_back(task, std::thread([this, task, index, job = std::move(job), error] {
                                   TestUncertainty u =
                                       ComputeTestUncertainty(job.test, job.fit, job.model, error, true, &task->cancel);
                                   const bool complete = !task->cancel && u.intervals.complete;
                                   if (complete) task->result = std::move(u);
                                   task->done = true;
                                   if (complete) {
                                       // Announced on the GUI thread; dropped there when cancelled since.
                                       QMetaObject::invokeMethod(
                                           this,
                                           [this, task, index] {
                                               if (task->cancel) return;
                                               const auto it = m_Tasks.find(index);
                                               if (it != m_Tasks.end() && it->second == task) emit ready(index);
                                           },
                                           Qt::QueuedConnection);
                                   }
                               }));
    }
    for (auto& [index, task] : m_Tasks) {
        const auto kept = next.find(index);
        if (kept == next.end() || kept->second != task) task->cancel = true;
    }
    m_Tasks = std::move(next);
}

const TestUncertainty* CUncertaintyWorker::Result(int testIndex) const {
    const auto it = m_Tasks.find(testIndex);
    if (it == m_Tasks.end() || !it->second->done || it->second->cancel || !it->second->result.intervals.complete)
        return nullptr;
    return &it->second->result;
}

bool CUncertaintyWorker::Busy() const {
    for (const auto& [index, task] : m_Tasks)
        if (!task->done) return true;
    return false;
}
