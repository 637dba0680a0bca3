#include "app/PhotoJobs.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace pixolo
{

PhotoJobs::PhotoJobs(Delivery delivery, QObject *parent)
    : QObject(parent)
    , m_worker(std::make_unique<QThreadPool>())
    , m_delivery(std::move(delivery))
{
    m_worker->setMaxThreadCount(1);
    m_worker->setExpiryTimeout(-1); // the thread stays for the next photo
}

PhotoJobs::~PhotoJobs()
{
    m_worker->waitForDone();
}

void PhotoJobs::start(Job job)
{
    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] { deliverFinished(watcher); });
    watcher->setFuture(QtConcurrent::run(m_worker.get(), [job = std::move(job)] {
        Outcome outcome;
        try {
            outcome.stored = job();
        } catch (...) {
            outcome.error = std::current_exception();
        }
        return outcome;
    }));
    m_jobs.push_back(watcher);
}

void PhotoJobs::finishAll()
{
    while (!m_jobs.empty()) {
        m_jobs.front()->waitForFinished();
        deliverFinished(nullptr);
    }
}

void PhotoJobs::deliverFinished(QObject *signalling)
{
    // A delivery may open a box, whose event loop delivers the next outcomes meanwhile: each outcome leaves the
    // queue before it is handed on, so that none is delivered twice.
    while (!m_jobs.empty() && m_jobs.front()->isFinished()) {
        QFutureWatcher<Outcome> *done = m_jobs.front();
        m_jobs.pop_front();
        const Outcome outcome = done->result();
        // The watcher whose signal is being handled goes once the signal is done; the others at once (a caller that
        // only ever waits, as a test does, may never return to an event loop that would delete them later).
        if (done == signalling) {
            done->deleteLater();
        } else {
            delete done;
        }
        m_delivery(outcome);
    }
}

} // namespace pixolo
