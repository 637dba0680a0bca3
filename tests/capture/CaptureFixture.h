#pragma once

// The capture components wired as the main window wires them: the graph in capture mode with the video window,
// the sample grabber and the source filter as clients, in that order, and the video window as sink.

#include "CaptureTestSupport.h"

#include "capture/TFilter.h"
#include "capture/TFilterGraph.h"
#include "capture/TSampleGrabber.h"
#include "capture/TVideoWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace pixolo::test
{

class CaptureFixture : public testing::Test
{
protected:
    CaptureFixture();
    ~CaptureFixture() override;

    // Connects the virtual camera and starts the preview as the main window does; false when a step fails.
    bool startPreview();
    // Waits (bounded) for the grabber to hold a frame and copies it.
    bool waitForFrame(TBitmap &bitmap, int timeoutMs = 5000);
    // The graph's filters.
    std::vector<GstElement *> graphFilters() { return graph.Filters(); }

    TFilterGraph graph;
    std::unique_ptr<TVideoWindow> videoWindow;
    TSampleGrabber grabber;
    TFilter filter;
};

} // namespace pixolo::test
