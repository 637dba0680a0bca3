// Failures that cannot be raised: a client that raises while the graph is torn down, and handlers that raise while
// GStreamer calls them on its own threads. Teardown goes to its end and reports; a handler's failure is reported
// through the message-box seam and the stream goes on.
#include "CaptureFixture.h"

#include "capture/EDirectShowException.h"
#include "capture/GraphPipeline.h"
#include "platform/MessageBox.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace pixolo
{
namespace
{

using namespace test;

// Records what reaches the message-box seam for the life of a test.
class RecordedMessages
{
public:
    RecordedMessages()
    {
        MessageBox::setHandler([this](const MessageBox::Message &message) { m_messages.push_back(message); });
    }
    ~RecordedMessages() { MessageBox::setHandler({}); }

    // Lets queued reports arrive, then gives what was recorded.
    const std::vector<MessageBox::Message> &messages()
    {
        QCoreApplication::sendPostedEvents();
        return m_messages;
    }
    int count(bool boxed, const QString &containing)
    {
        int n = 0;
        for (const MessageBox::Message &message : messages()) {
            n += message.boxed == boxed && message.text.contains(containing) ? 1 : 0;
        }
        return n;
    }

private:
    std::vector<MessageBox::Message> m_messages;
};

// A client with a filter that raises when it is told to let go of it.
class RaisingClient final : public IGraphClient
{
public:
    GstElement *GetClientFilter() override { return m_filter.get(); }
    QString GetClientName() override { return QStringLiteral("raising"); }
    void NotifyClient(TClientOperation operation, int) override
    {
        operations.push_back(operation);
        if (operation == opBeforeAdd) {
            m_filter = GstRef<GstElement>::adopt(gst_element_factory_make("identity", nullptr));
        } else if (operation == opBeforeRemove) {
            throw std::runtime_error("client broke");
        } else if (operation == opAfterRemove) {
            m_filter.reset();
        }
    }
    bool holdsFilter() const { return bool(m_filter); }
    std::vector<TClientOperation> operations;

private:
    GstRef<GstElement> m_filter;
};

TEST(TeardownTest, ClientRaisingOnRemovalIsReportedAndTheGraphStillGoesInactive)
{
    RecordedMessages recorded;
    TFilterGraph graph;
    RaisingClient client;
    RaisingClient second;
    graph.AttachClient(&client);
    graph.AttachClient(&second);
    graph.SetActive(true);
    ASSERT_TRUE(client.holdsFilter());

    EXPECT_NO_THROW(graph.SetActive(false));
    EXPECT_FALSE(graph.Active());
    EXPECT_FALSE(graph.Pipeline()); // the graph was released
    // Both clients were taken through removal to its end and let go of their filters.
    for (const RaisingClient *c : { &client, &second }) {
        ASSERT_GE(c->operations.size(), 2u);
        EXPECT_EQ(c->operations.back(), opAfterRemove);
        EXPECT_FALSE(c->holdsFilter());
    }
    // Written down, not shown: nobody can act on a teardown's failure.
    EXPECT_EQ(recorded.count(false, QStringLiteral("client broke")), 2);
    EXPECT_EQ(recorded.count(true, QStringLiteral("client broke")), 0);

    // Active again, the graph is whole: the clients' filters are back in it.
    graph.SetActive(true);
    EXPECT_TRUE(client.holdsFilter());
    graph.DetachClient(&client); // removal raises again, and still nothing leaves DetachClient
    EXPECT_FALSE(client.holdsFilter());
    graph.DetachClient(&second);
}

TEST(TeardownTest, DestroyingAnActiveGraphWhoseClientRaisesEndsNormally)
{
    // Before, the failure left the destructor and the program ended with std::terminate.
    RecordedMessages recorded;
    RaisingClient client;
    auto graph = std::make_unique<TFilterGraph>();
    graph->AttachClient(&client);
    graph->SetActive(true);
    graph.reset();
    EXPECT_EQ(client.operations.back(), opAfterRemove);
    EXPECT_EQ(recorded.count(false, QStringLiteral("client broke")), 1);
}

class CallbackFailureTest : public testing::Test
{
protected:
    CallbackFailureTest() { GraphPipeline::setAudioSinkDescription("fakesink sync=true"); }

    QTemporaryDir folder;
};

TEST_F(CallbackFailureTest, SelectionHandlerRaisingOnTheDecodersThreadIsShownOnceAndRefusesTheDecoder)
{
    RecordedMessages recorded;
    const QString sound = folder.filePath(QStringLiteral("shutter.wav"));
    writeWav(sound, 100);
    TFilterGraph graph;
    std::atomic<int> calledElsewhere { 0 };
    QThread *const mainThread = QThread::currentThread();
    graph.OnSelectedFilter = [&](const QString &, const QString &) -> bool {
        if (QThread::currentThread() == mainThread) {
            return true; // the chain's fixed elements, chosen on the caller's thread
        }
        ++calledElsewhere;
        throw std::runtime_error("selector broke");
    };
    graph.SetActive(true);
    EXPECT_THROW(graph.RenderMediaFile(sound), EDirectShowException); // no decoder was let in
    ASSERT_GT(calledElsewhere.load(), 0) << "the decoding bin chose no element on its own thread";
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorded.count(true, QStringLiteral("selector broke")) > 0; }, 5000));
    EXPECT_EQ(recorded.count(true, QStringLiteral("selector broke")), 1);
    graph.SetActive(false);
}

using FrameHandlerFailureTest = CaptureFixture;

TEST_F(FrameHandlerFailureTest, FrameHandlerRaisingEveryFrameShowsOneBoxAtATimeAndFramesGoOn)
{
    // The box's own event loop runs while it is open: frames keep failing meanwhile.
    int boxes = 0;
    int written = 0;
    MessageBox::setHandler([&](const MessageBox::Message &message) {
        if (!message.text.contains(QStringLiteral("handler broke"))) {
            return;
        }
        if (!message.boxed) {
            ++written;
            return;
        }
        ++boxes;
        const int before = written;
        (void)QTest::qWaitFor([&] { return written >= before + 3; }, 3000);
    });
    std::atomic<int> frames { 0 };
    grabber.OnBuffer = [&](QObject *, double, void *, int) {
        ++frames;
        throw std::runtime_error("handler broke");
    };
    ASSERT_TRUE(startPreview());
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes >= 1 && written >= 3; }, 10000))
        << "boxes " << boxes << ", written " << written;
    TBitmap bitmap;
    EXPECT_TRUE(waitForFrame(bitmap)); // the grabber still keeps frames
    const int seen = frames.load();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames.load() > seen + 2; }, 5000)); // and the stream goes on
    graph.SetActive(false);
    QCoreApplication::sendPostedEvents();
    MessageBox::setHandler({});
    EXPECT_GE(written, 3); // the failures while the box was open were only written down
}

} // namespace
} // namespace pixolo
