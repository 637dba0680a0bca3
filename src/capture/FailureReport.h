#pragma once

#include <exception>
#include <utility>

namespace pixolo
{

// Failures that cannot be raised to anybody. Two places have them:
//
// - Code that GStreamer calls (a bus handler, a pad probe, an application sink's or a decoding bin's callback) runs
//   under GStreamer's C frames, through which no exception may unwind. guardCallback runs such a handler, reports
//   what it raises through the message-box seam and gives GStreamer the fallback answer instead. A handler that
//   fails on every frame shows one box at a time; while that box waits, further failures are only written down.
// - Teardown (a destructor, a graph that is being deactivated) must go to its end. tearDown runs one step of it and
//   writes down what the step raises, without a box: nobody can act on it there.
void reportCallbackFailure(const char *where, const std::exception *error) noexcept;
void reportTeardownFailure(const char *where, const std::exception *error) noexcept;

template <class Result, class Handler>
Result guardCallback(const char *where, Result fallback, Handler &&handler) noexcept
{
    try {
        return std::forward<Handler>(handler)();
    } catch (const std::exception &error) {
        reportCallbackFailure(where, &error);
    } catch (...) {
        reportCallbackFailure(where, nullptr);
    }
    return fallback;
}

template <class Handler> void guardCallback(const char *where, Handler &&handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &error) {
        reportCallbackFailure(where, &error);
    } catch (...) {
        reportCallbackFailure(where, nullptr);
    }
}

// Runs one step of a teardown; true when it went through.
template <class Step> bool tearDown(const char *where, Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const std::exception &error) {
        reportTeardownFailure(where, &error);
    } catch (...) {
        reportTeardownFailure(where, nullptr);
    }
    return false;
}

} // namespace pixolo
