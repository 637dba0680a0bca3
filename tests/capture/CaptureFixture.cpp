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
    filter.BaseFilter()->StoreMoniker(testCameraMoniker().get());
    graph.SetActive(true);
    const auto builder = graph.QueryInterface<ICaptureGraphBuilder2>();
    const auto source = filter.QueryInterface<IBaseFilter>();
    const auto renderer = videoWindow->QueryInterface<IBaseFilter>();
    const auto grabberFilter = grabber.QueryInterface<IBaseFilter>();
    if (!builder || !source || !renderer || !grabberFilter) {
        ADD_FAILURE() << "missing " << bool(builder) << bool(source) << bool(renderer) << bool(grabberFilter);
        return false;
    }
    const HRESULT hr = builder->RenderStream(
        &PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, source.get(), grabberFilter.get(), renderer.get());
    if (Failed(hr)) {
        ADD_FAILURE() << "RenderStream: " << AMGetErrorText(hr).toStdString();
        return false;
    }
    return graph.RunGraph();
}

bool CaptureFixture::waitForFrame(TBitmap &bitmap, int timeoutMs)
{
    return QTest::qWaitFor([&] { return grabber.CopyFrameToBitmap(&bitmap); }, timeoutMs);
}

std::vector<RefPtr<IBaseFilter>> CaptureFixture::graphFilters()
{
    std::vector<RefPtr<IBaseFilter>> filters;
    if (const auto filterGraph = graph.QueryInterface<IFilterGraph2>()) {
        filterGraph->EnumFilters(filters);
    }
    return filters;
}

} // namespace pixolo::test
