#pragma once

#include <glib.h>

#include <memory>
#include <mutex>

namespace pixolo
{

// The way from a streaming thread to an object of ours that may go while its element still streams: a camera's
// pipeline stops on a worker, after the objects of its graph are gone. The object closes the gate as it goes; a
// callback that comes later finds it closed and does nothing. The registration of the callback shares the gate and
// lets go of its share when GStreamer frees the registration.
template <typename T> class CallbackGate
{
public:
    explicit CallbackGate(T *target)
        : m_target(target)
    {
    }

    // Runs `work` on the object while it is there; false once the gate is closed. The object cannot go meanwhile.
    template <typename Work> bool pass(Work &&work)
    {
        const std::lock_guard lock(m_lock);
        if (!m_target) {
            return false;
        }
        work(*m_target);
        return true;
    }

    // Waits for a callback inside the gate to finish; none enters after.
    void close()
    {
        const std::lock_guard lock(m_lock);
        m_target = nullptr;
    }

    // A registration's user data and its destroy notify, and the gate behind the user data.
    static gpointer share(const std::shared_ptr<CallbackGate> &gate) { return new std::shared_ptr<CallbackGate>(gate); }
    static void release(gpointer data) { delete static_cast<std::shared_ptr<CallbackGate> *>(data); }
    static CallbackGate &of(gpointer data) { return **static_cast<std::shared_ptr<CallbackGate> *>(data); }

private:
    std::mutex m_lock;
    T *m_target;
};

} // namespace pixolo
