#pragma once

#include <gst/gst.h>

#include <type_traits>
#include <utility>

namespace pixolo
{

// Which unref a GStreamer type needs: objects (elements, pads, buses, devices…) or mini objects (buffers, caps,
// messages, samples…).
template <typename T>
inline constexpr bool gstIsMiniObject
    = std::is_same_v<T,
          GstBuffer> || std::is_same_v<T, GstCaps> || std::is_same_v<T, GstMessage> || std::is_same_v<T, GstSample> || std::is_same_v<T, GstEvent> || std::is_same_v<T, GstQuery>;

// One reference to a GStreamer object: adopt() takes over a transfer-full (or floating) result, ref() takes a
// reference of its own to a borrowed pointer.
// A reference that goes from one thread to another inside GLib and GStreamer (a pipeline stopped on a worker, a
// bus message posted from a streaming thread) is ordered by their atomics, which the thread sanitizer cannot see in
// libraries it did not build: each hand-over is told to it, so that the last unref, wherever it runs, comes after
// every use made before the others let go. Nothing without the sanitizer.
#if defined(__SANITIZE_THREAD__)
#define PIXOLO_THREAD_SANITIZER 1 // gcc
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PIXOLO_THREAD_SANITIZER 1 // clang
#endif
#endif
#if defined(PIXOLO_THREAD_SANITIZER)
extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);
inline void handOver(void *object)
{
    __tsan_release(object);
    __tsan_acquire(object);
}
#else
inline void handOver(void *)
{
}
#endif

template <typename T> class GstRef
{
public:
    GstRef() = default;
    GstRef(std::nullptr_t) { }

    static GstRef adopt(T *object)
    {
        GstRef ref;
        if constexpr (!gstIsMiniObject<T>) {
            if (object && g_object_is_floating(object)) {
                gst_object_ref_sink(object); // a fresh floating element: sink it once, then own that reference
            }
        }
        ref.m_object = object;
        return ref;
    }
    static GstRef ref(T *object)
    {
        GstRef ref;
        ref.m_object = object ? take(object) : nullptr;
        return ref;
    }

    GstRef(const GstRef &other)
        : m_object(other.m_object ? take(other.m_object) : nullptr)
    {
    }
    GstRef(GstRef &&other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    GstRef &operator=(GstRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~GstRef() { reset(); }

    void reset()
    {
        if (T *object = std::exchange(m_object, nullptr)) {
            handOver(object);
            if constexpr (gstIsMiniObject<T>) {
                gst_mini_object_unref(GST_MINI_OBJECT_CAST(object));
            } else {
                gst_object_unref(object);
            }
        }
    }
    T *release() { return std::exchange(m_object, nullptr); }
    T *get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool operator==(const GstRef &other) const { return m_object == other.m_object; }

private:
    static T *take(T *object)
    {
        if constexpr (gstIsMiniObject<T>) {
            return reinterpret_cast<T *>(gst_mini_object_ref(GST_MINI_OBJECT_CAST(object)));
        } else {
            return static_cast<T *>(gst_object_ref(object));
        }
    }

    T *m_object = nullptr;
};

} // namespace pixolo
