#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <exception>
#include <functional>
#include <memory>

class QThreadPool;
template <typename T> class QFutureWatcher;

namespace pixolo
{

// The photos being encoded and stored. Each job runs on one thread of its own that lives as long as this object
// (a thread made for each photo would cost its making every time, and leave its traces in the allocator's
// per-thread records), so jobs run one after the other, in the order they were started. Their outcomes come back
// on the thread that started them, through the event loop, in the same order.
class PhotoJobs final : public QObject
{
public:
    struct Outcome {
        QString stored; // the photo's file; empty when nothing was stored
        std::exception_ptr error; // what failed on the way (a refused file, memory running out)
    };
    using Job = std::function<QString()>; // stores a photo and returns its file, or throws
    using Delivery = std::function<void(const Outcome &)>;

    explicit PhotoJobs(Delivery delivery, QObject *parent = nullptr);
    // Waits for the jobs still running or queued; their outcomes are not delivered.
    ~PhotoJobs() override;

    // Queues a job. Whatever it throws, memory failures included, comes back as its outcome's error.
    void start(Job job);
    // Waits for every job started so far and delivers the outcomes not delivered yet, in order.
    void finishAll();
    bool busy() const { return !m_jobs.empty(); }

private:
    // Delivers the finished jobs at the head of the queue; `signalling` is the watcher whose signal called, if any.
    void deliverFinished(QObject *signalling);

    std::unique_ptr<QThreadPool> m_worker;
    std::deque<QFutureWatcher<Outcome> *> m_jobs; // oldest first; children of this object
    Delivery m_delivery;
};

} // namespace pixolo
