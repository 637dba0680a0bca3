#include "CaptureFixture.h"

#include <QTest>

namespace pixolo::test
{

CaptureFixture::CaptureFixture()
    : videoWindow(std::make_unique<TVideoWindow>())
{
    graph.setObjectName(QStringLiteral("FilterGraph"));
    graph.SetMode(gmCapture);
    videoWindow->setObjectName(QStringLiteral("VideoWindow"));
    videoWindow->resize(320, 240);
    grabber.setObjectName(QStringLiteral("SampleGrabber"));
    filter.setObjectName(QStringLiteral("Filter"));
    videoWindow->SetFilterGraph(&graph);
    grabber.SetFilterGraph(&graph);
    filter.SetFilterGraph(&graph);
}

CaptureFixture::~CaptureFixture()
{
    graph.SetActive(false);
}

bool CaptureFixture::startPreview()
{
    graph.ResetGraph();
    graph.SetActive(false);
    const std::optional<DeviceMoniker> camera = testCameraMoniker();
    filter.BaseFilter()->StoreMoniker(camera ? &*camera : nullptr);
    graph.SetActive(true);
    if (!filter.GetClientFilter() || !videoWindow->GetClientFilter() || !grabber.GetClientFilter()) {
        ADD_FAILURE() << "missing " << bool(filter.GetClientFilter()) << bool(videoWindow->GetClientFilter())
                      << bool(grabber.GetClientFilter());
        return false;
    }
    try {
        graph.RenderStream(&filter, &grabber, videoWindow.get());
    } catch (const EDirectShowException &error) {
        ADD_FAILURE() << "RenderStream: " << error.what();
        return false;
    }
    return graph.RunGraph();
}

bool CaptureFixture::waitForFrame(TBitmap &bitmap, int timeoutMs)
{
    return QTest::qWaitFor([&] { return grabber.CopyFrameToBitmap(&bitmap); }, timeoutMs);
}

} // namespace pixolo::test
