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
    connect(watcher, &QFutureWatcherBase::finished, this, [this] { deliverFinished(); });
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
        deliverFinished();
    }
}

void PhotoJobs::deliverFinished()
{
    // A delivery may open a box, whose event loop delivers the next outcomes meanwhile: each outcome leaves the
    // queue before it is handed on, so that none is delivered twice.
    while (!m_jobs.empty() && m_jobs.front()->isFinished()) {
        QFutureWatcher<Outcome> *done = m_jobs.front();
        m_jobs.pop_front();
        const Outcome outcome = done->result();
        done->deleteLater(); // it may be the sender of the signal being handled
        m_delivery(outcome);
    }
}

} // namespace pixolo
