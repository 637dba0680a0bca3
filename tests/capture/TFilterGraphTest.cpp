// The filter graph component: the client and sink protocol, modes, resetting, file rendering, audio settings, the
// builder callbacks, events and the inspection and log files.
#include "CaptureFixture.h"

#include "capture/EDirectShowException.h"
#include "capture/GraphElement.h"
#include "capture/GraphPipeline.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>

namespace pixolo
{
namespace
{

using namespace test;

class TFilterGraphTest : public testing::Test
{
protected:
    TFilterGraphTest()
    {
        GraphPipeline::setAudioSinkDescription("fakesink sync=true"); // plays in real time without a sound card
        graph.AttachSink(&sink);
    }
    ~TFilterGraphTest() override
    {
        graph.SetActive(false);
        graph.DetachSink(&sink);
    }

    QString wav(int milliseconds)
    {
        const QString name = folder.filePath(QStringLiteral("sound%1.wav").arg(milliseconds));
        writeWav(name, milliseconds);
        return name;
    }

    std::vector<int> controlCodes() const
    {
        std::vector<int> codes;
        for (const auto &[code, param] : sink.controlEvents) {
            codes.push_back(code);
        }
        return codes;
    }

    std::vector<GstElement *> filters() { return graph.Filters(); }

    // The element of the graph under that name, none without one.
    GstElement *filterNamed(const char *name)
    {
        for (GstElement *filter : filters()) {
            if (g_str_equal(GST_OBJECT_NAME(filter), name)) {
                return filter;
            }
        }
        return nullptr;
    }

    QTemporaryDir folder;
    TFilterGraph graph;
    RecordingSink sink;
};

TEST_F(TFilterGraphTest, ActivationAddsClientsInOrderAndTellsSinksLast)
{
    RecordingClient first(QStringLiteral("First"));
    RecordingClient second(QStringLiteral("Second"), false); // a client without a filter is simply missing
    graph.AttachClient(&first);
    graph.AttachClient(&second);
    bool activated = false;
    graph.OnActivate = [&](QObject *sender) {
        activated = sender == &graph;
        EXPECT_TRUE(sink.controlEvents.empty()); // OnActivate comes before ctlActive
    };
    graph.SetActive(true);
    EXPECT_TRUE(activated);
    EXPECT_EQ(first.operations, (std::vector { opBeforeAdd, opAfterAdd }));
    EXPECT_EQ(second.operations, (std::vector { opBeforeAdd, opAfterAdd }));
    EXPECT_EQ(sink.controlEvents, (std::vector<std::pair<int, int>> { { ctlActive, 1 } }));
    const auto list = filters();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_STREQ(GST_OBJECT_NAME(list[0]), "First");

    // The current value again: nothing at all.
    graph.SetActive(true);
    EXPECT_EQ(first.operations.size(), 2u);
    EXPECT_EQ(sink.controlEvents.size(), 1u);

    // Deactivation tells the sinks first, then removes every client's filter.
    graph.SetActive(false);
    EXPECT_EQ(sink.controlEvents.back(), std::make_pair(ctlActive, 0));
    EXPECT_EQ(first.operations, (std::vector { opBeforeAdd, opAfterAdd, opBeforeRemove, opAfterRemove }));
    EXPECT_EQ(GST_OBJECT_PARENT(first.filtersMade[0].get()), nullptr); // out of the graph
    graph.DetachClient(&first);
    graph.DetachClient(&second);
}

TEST_F(TFilterGraphTest, EmptyGraphStillActivatesAndSendsActive)
{
    graph.SetActive(true);
    EXPECT_TRUE(graph.Active());
    EXPECT_TRUE(graph.Pipeline());
    EXPECT_TRUE(filters().empty());
    EXPECT_EQ(sink.controlEvents, (std::vector<std::pair<int, int>> { { ctlActive, 1 } }));
}

TEST_F(TFilterGraphTest, AttachingToAnActiveGraphAddsAtOnceAndDetachingFromAnInactiveOneSendsNothing)
{
    RecordingClient client(QStringLiteral("Late"));
    graph.SetActive(true);
    graph.AttachClient(&client);
    EXPECT_EQ(client.operations, (std::vector { opBeforeAdd, opAfterAdd }));
    graph.SetActive(false);
    client.operations.clear();
    graph.DetachClient(&client);
    EXPECT_TRUE(client.operations.empty());
    graph.SetActive(true);
    EXPECT_TRUE(client.operations.empty());
}

TEST_F(TFilterGraphTest, ModeChangeRebuildsAFreshGraphOfTheNewKindWithClientsInOrder)
{
    RecordingClient first(QStringLiteral("First"));
    RecordingClient second(QStringLiteral("Second"));
    graph.AttachClient(&first);
    graph.AttachClient(&second);
    graph.SetActive(true);
    const auto renderCode = [&] {
        try {
            graph.RenderStream(nullptr, nullptr, nullptr);
        } catch (const EDirectShowException &error) {
            return error.ErrorCode();
        }
        return DSErrorCode(0);
    };
    EXPECT_EQ(renderCode(), E_UNEXPECTED); // no capture builder in the normal mode
    const auto oldGraph = GstRef<GstElement>::ref(graph.Pipeline()); // held: a new one cannot take its address

    first.operations.clear();
    graph.SetMode(gmCapture);
    EXPECT_TRUE(graph.Active());
    EXPECT_EQ(renderCode(), E_POINTER); // the builder is there and looks at its arguments
    EXPECT_NE(graph.Pipeline(), oldGraph.get());
    EXPECT_EQ(first.operations, (std::vector { opBeforeRemove, opAfterRemove, opBeforeAdd, opAfterAdd }));
    ASSERT_EQ(first.filtersMade.size(), 2u);
    EXPECT_NE(first.filtersMade[0].get(), first.filtersMade[1].get());
    const auto list = filters();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], first.GetClientFilter());
    EXPECT_EQ(list[1], second.GetClientFilter());

    // No DVD builder exists here: the component is active without a graph and must not fail.
    graph.SetMode(gmDVD);
    EXPECT_TRUE(graph.Active());
    EXPECT_FALSE(graph.Pipeline());
    EXPECT_FALSE(graph.RunGraph());
    graph.ResetGraph();
    EXPECT_FALSE(graph.RenderMediaFile(wav(50)));
    EXPECT_EQ(renderCode(), E_UNEXPECTED);
    graph.DetachClient(&first);
    graph.DetachClient(&second);
}

TEST_F(TFilterGraphTest, InactiveGraphResetsAndRendersNothing)
{
    graph.ResetGraph();
    EXPECT_FALSE(graph.RenderMediaFile(wav(50)));
    EXPECT_FALSE(graph.RunGraph());
    EXPECT_FALSE(graph.StopGraph());
    EXPECT_TRUE(sink.controlEvents.empty());
}

TEST_F(TFilterGraphTest, MissingFileRaisesWithTheCodeAndOnlyTheRenderingEvent)
{
    graph.SetActive(true);
    sink.controlEvents.clear();
    try {
        graph.RenderMediaFile(folder.filePath(QStringLiteral("missing.wav")));
        FAIL() << "no error";
    } catch (const EDirectShowException &error) {
        EXPECT_EQ(error.ErrorCode(), E_FILE_NOT_FOUND);
        EXPECT_TRUE(QString::fromUtf8(error.what()).endsWith(QStringLiteral(" ($80070002)."))) << error.what();
    }
    EXPECT_EQ(controlCodes(), (std::vector { ctlFileRendering }));
    EXPECT_TRUE(filters().empty());
}

TEST_F(TFilterGraphTest, UnplayableFilesFailAtOnceAndLeaveTheGraphAsItWas)
{
    QFile text(folder.filePath(QStringLiteral("notes.wav")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a sound, only some words that no decoder takes for one\n");
    text.close();
    graph.SetActive(true);
    for (const QString &file : { text.fileName(), wav(0) }) {
        EXPECT_THROW(graph.RenderMediaFile(file), EDirectShowException) << file.toStdString();
        EXPECT_TRUE(filters().empty());
    }
    // No error of the failed attempts turns up as an event later; a good file still plays to the end.
    bool complete = false;
    graph.OnGraphComplete = [&](QObject *, DSErrorCode) { complete = true; };
    graph.RenderMediaFile(wav(100));
    ASSERT_TRUE(graph.RunGraph());
    ASSERT_TRUE(QTest::qWaitFor([&] { return complete; }, 5000));
    EXPECT_FALSE(sink.sawGraphEvent(EC_ERRORABORT));
}

TEST_F(TFilterGraphTest, PlayedSoundEndsWithCompleteOnTheMainThreadEachTime)
{
    int completions = 0;
    graph.OnGraphComplete = [&](QObject *sender, DSErrorCode result) {
        EXPECT_EQ(sender, &graph);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(QThread::currentThread(), graph.thread());
        ++completions;
    };
    const QString sound = wav(150);
    // The shutter sound's sequence, twice: the second reset empties the graph the first left.
    for (int round = 1; round <= 2; ++round) {
        graph.ResetGraph();
        graph.SetActive(true);
        sink.controlEvents.clear();
        EXPECT_TRUE(graph.RenderMediaFile(sound));
        EXPECT_EQ(controlCodes(), (std::vector { ctlFileRendering, ctlFileRendered }));
        EXPECT_TRUE(graph.RunGraph());
        ASSERT_TRUE(QTest::qWaitFor([&] { return completions == round; }, 5000));
        EXPECT_TRUE(sink.sawGraphEvent(EC_COMPLETE));
    }
    EXPECT_EQ(filters().size(), 7u); // source, decoder, converter, resampler, balance, volume, sink
}

TEST_F(TFilterGraphTest, ResetFreesEveryElementOfThePlayedChain)
{
    // Each shutter sound builds a chain; the next reset must free all of it, what the decoder made inside itself
    // included, or a program that takes many photos grows without end.
    bool complete = false;
    graph.OnGraphComplete = [&](QObject *, DSErrorCode) { complete = true; };
    graph.SetActive(true);
    ASSERT_TRUE(graph.RenderMediaFile(wav(50)));
    ASSERT_TRUE(graph.RunGraph());
    ASSERT_TRUE(QTest::qWaitFor([&] { return complete; }, 5000));

    int alive = 0;
    {
        ASSERT_NE(graph.Pipeline(), nullptr);
        GstIterator *elements = gst_bin_iterate_recurse(GST_BIN(graph.Pipeline()));
        GValue item = G_VALUE_INIT;
        while (gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
            ++alive;
            g_object_weak_ref(
                G_OBJECT(g_value_get_object(&item)), [](gpointer count, GObject *) { --*static_cast<int *>(count); },
                &alive);
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(elements);
    }
    ASSERT_GT(alive, 7); // the seven filters and what the decoder made inside itself

    graph.ResetGraph();
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(filters().empty());
}

struct AudioCase {
    bool linear;
    int volume;
    int balance;
    std::int32_t frameworkVolume;
    std::int32_t frameworkBalance;
};

class TFilterGraphAudioTest : public TFilterGraphTest, public testing::WithParamInterface<AudioCase>
{
};

// The factor of a volume in hundredths of a decibel: 0 is full volume, -10000 silence.
double linearFactor(std::int32_t hundredths)
{
    return hundredths <= -10000 ? 0.0 : std::pow(10.0, hundredths / 2000.0);
}

// The graph component's scale in hundredths of a decibel, as the chain's own factors show it: the volume's factor,
// and the balance's attenuation of one channel (the left one for a positive balance).
TEST_P(TFilterGraphAudioTest, SettingsReachTheChainInHundredthsOfADecibel)
{
    const AudioCase audio = GetParam();
    graph.SetLinearVolume(audio.linear);
    graph.SetVolume(audio.volume);
    graph.SetBalance(audio.balance);
    graph.SetActive(true);
    graph.RenderMediaFile(wav(50));
    GstElement *volume = filterNamed("Volume");
    GstElement *balance = filterNamed("Balance");
    ASSERT_TRUE(volume && balance);
    gdouble factor = -1;
    g_object_get(volume, "volume", &factor, nullptr);
    EXPECT_NEAR(factor, linearFactor(audio.frameworkVolume), 1e-6);
    gfloat panorama = 2;
    g_object_get(balance, "panorama", &panorama, nullptr);
    const double attenuation = 1.0 - linearFactor(-std::abs(audio.frameworkBalance));
    EXPECT_NEAR(panorama, audio.frameworkBalance >= 0 ? attenuation : -attenuation, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Scales, TFilterGraphAudioTest,
    testing::Values(AudioCase { true, 10000, 0, 0, 0 }, AudioCase { true, 0, 10000, -10000, -10000 },
        AudioCase { true, 5000, -10000, -752, 10000 }, AudioCase { true, 100, 1, -4989, -753 },
        AudioCase { true, 20000, -20000, 0, 10000 }, // clamped first
        AudioCase { false, 5000, -2500, -5000, -2500 }, AudioCase { false, 0, 10000, -10000, 10000 }),
    [](const testing::TestParamInfo<AudioCase> &info) { return "Case" + std::to_string(info.index); });

TEST_F(TFilterGraphTest, ChangingLinearVolumeReappliesTheSettingsAtOnce)
{
    graph.SetActive(true);
    graph.RenderMediaFile(wav(50));
    graph.SetVolume(2500);
    const auto factor = [&] {
        gdouble value = -1;
        g_object_get(filterNamed("Volume"), "volume", &value, nullptr);
        return value;
    };
    EXPECT_NEAR(factor(), linearFactor(8495 - 10000), 1e-6);
    graph.SetLinearVolume(false);
    EXPECT_NEAR(factor(), linearFactor(-7500), 1e-6);
}

TEST_F(TFilterGraphTest, BuilderCallbacksCanRefuseFiltersOfAChain)
{
    graph.SetActive(true);
    QStringList offered;
    QString refused;
    graph.OnSelectedFilter = [&](const QString &name, const QString &factory) {
        offered.append(name);
        if (factory == QStringLiteral("wavparse")) {
            refused = factory;
            return false;
        }
        return true;
    };
    int unrenderable = 0;
    graph.OnUnableToRender = [&](const QString &filterName, const QString &) {
        EXPECT_EQ(filterName, QStringLiteral("Decoder"));
        ++unrenderable;
        return false;
    };
    EXPECT_THROW(graph.RenderMediaFile(wav(50)), EDirectShowException);
    EXPECT_TRUE(offered.contains(QStringLiteral("WAV audio demuxer"))) << offered.join(u',').toStdString();
    EXPECT_EQ(refused, QStringLiteral("wavparse"));
    EXPECT_EQ(unrenderable, 1);
    EXPECT_TRUE(filters().empty());

    graph.OnSelectedFilter = nullptr;
    QStringList created;
    graph.OnCreatedFilter = [&](const QString &factory) {
        created.append(factory);
        return factory != QStringLiteral("volume");
    };
    EXPECT_THROW(graph.RenderMediaFile(wav(50)), EDirectShowException);
    graph.OnCreatedFilter = [&](const QString &) { return true; };
    EXPECT_TRUE(graph.RenderMediaFile(wav(50)));
    EXPECT_TRUE(created.contains(QStringLiteral("filesrc")));
}

struct EventCase {
    int code;
    std::intptr_t param1;
    std::intptr_t param2;
    QString expected; // what the specific event received; empty: none is called
};

class TFilterGraphEventTest : public TFilterGraphTest, public testing::WithParamInterface<EventCase>
{
};

TEST_P(TFilterGraphEventTest, EventsReachSinksThenOnDSEventThenTheirOwnHandler)
{
    const EventCase event = GetParam();
    QStringList calls;
    graph.OnDSEvent = [&](QObject *, int code, std::intptr_t, std::intptr_t) {
        EXPECT_EQ(sink.graphEvents.size(), 1u); // the sinks heard it first
        calls.append(QStringLiteral("ds %1").arg(code));
    };
    graph.OnGraphComplete
        = [&](QObject *, DSErrorCode result) { calls.append(QStringLiteral("complete %1").arg(result)); };
    graph.OnGraphErrorAbort
        = [&](QObject *, DSErrorCode result) { calls.append(QStringLiteral("abort %1").arg(result)); };
    graph.OnGraphVideoSizeChanged = [&](QObject *, std::uint16_t width, std::uint16_t height) {
        calls.append(QStringLiteral("size %1x%2").arg(width).arg(height));
    };
    graph.OnGraphDeviceLost = [&](QObject *, bool removed) { calls.append(QStringLiteral("lost %1").arg(removed)); };
    graph.OnGraphClockUnset = [&](QObject *) { calls.append(QStringLiteral("clock unset")); };
    graph.HandleGraphEvent(event.code, event.param1, event.param2);
    ASSERT_EQ(sink.graphEvents.size(), 1u);
    EXPECT_EQ(sink.graphEvents[0], std::make_pair(event.code, event.param1));
    QStringList expected { QStringLiteral("ds %1").arg(event.code) };
    if (!event.expected.isEmpty()) {
        expected.append(event.expected);
    }
    EXPECT_EQ(calls, expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, TFilterGraphEventTest,
    testing::Values(EventCase { EC_COMPLETE, 0, 0, QStringLiteral("complete 0") },
        EventCase { EC_ERRORABORT, E_DEVICE_LOST, 0, QStringLiteral("abort %1").arg(E_DEVICE_LOST) },
        EventCase { EC_VIDEO_SIZE_CHANGED, 640 | (480 << 16), 0, QStringLiteral("size 640x480") },
        EventCase { EC_DEVICE_LOST, 0, 1, QStringLiteral("lost 1") },
        EventCase { EC_DEVICE_LOST, 0, 0, QStringLiteral("lost 0") },
        EventCase { EC_CLOCK_UNSET, 0, 0, QStringLiteral("clock unset") },
        EventCase { 258, 1, 0, QString() }, // not one of the graph's: sinks and OnDSEvent only
        EventCase { 999, 1, 2, QString() }, EventCase { EC_CLOCK_CHANGED, 0, 0, QString() }), // no handler assigned
    [](const testing::TestParamInfo<EventCase> &info) {
        return "Code" + std::to_string(info.param.code) + "_" + std::to_string(info.index);
    });

TEST_F(TFilterGraphTest, ARaisingSinkIsReportedAndLaterEventsStillArrive)
{
    std::vector<MessageBox::Message> shown;
    MessageBox::setHandler([&](const MessageBox::Message &message) { shown.push_back(message); });
    sink.raiseOn = EC_CLOCK_CHANGED;
    bool complete = false;
    graph.OnGraphComplete = [&](QObject *, DSErrorCode) { complete = true; };
    graph.SetActive(true);
    graph.RenderMediaFile(wav(150));
    graph.RunGraph();
    const bool arrived = QTest::qWaitFor([&] { return complete; }, 5000);
    MessageBox::setHandler({});
    ASSERT_TRUE(arrived);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("sink refused the event"));
    EXPECT_EQ(shown[0].icon, MessageBox::Error);
}

TEST_F(TFilterGraphTest, NoEventIsDrainedAfterDeactivation)
{
    graph.SetActive(true);
    graph.RenderMediaFile(wav(50));
    graph.RunGraph(); // queues the new clock at once
    graph.SetActive(false);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(sink.graphEvents.empty());
}

TEST_F(TFilterGraphTest, GraphEditWritesTheGraphForInspectionWhileRegistered)
{
    const QByteArray saved = qgetenv("GST_DEBUG_DUMP_DOT_DIR");
    qputenv("GST_DEBUG_DUMP_DOT_DIR", folder.path().toUtf8());
    QDir dumps(folder.path(), QStringLiteral("*.dot"));
    const auto dumpFiles = [&] {
        dumps.refresh(); // a QDir keeps its listing until told to look again
        return dumps.entryList();
    };
    graph.SetGraphEdit(true); // inactive: only remembered
    EXPECT_TRUE(dumpFiles().isEmpty());
    graph.SetActive(true);
    graph.RenderMediaFile(wav(50));
    const QStringList files = dumpFiles();
    ASSERT_EQ(files.size(), 1);
    const QRegularExpression name(
        QStringLiteral("^FilterGraph [0-9A-F]{%1} pid [0-9A-F]+\\.dot$").arg(sizeof(void *) * 2));
    EXPECT_TRUE(name.match(files[0]).hasMatch()) << files[0].toStdString();
    QFile dump(dumps.filePath(files[0]));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    const QByteArray dot = dump.readAll();
    EXPECT_TRUE(dot.startsWith("digraph"));
    EXPECT_TRUE(dot.contains("File Source"));
    graph.SetGraphEdit(false);
    EXPECT_TRUE(dumpFiles().isEmpty());
    EXPECT_FALSE(graph.GraphEdit());
    qputenv("GST_DEBUG_DUMP_DOT_DIR", saved);
}

TEST_F(TFilterGraphTest, LogFileGetsALineForEachFilterAddedConnectedAndRemoved)
{
    const QString log = folder.filePath(QStringLiteral("graph.log"));
    graph.SetLogFile(log);
    graph.SetActive(true);
    graph.RenderMediaFile(wav(50));
    graph.ResetGraph();
    // A file that cannot be made keeps the old one.
    graph.SetLogFile(folder.filePath(QStringLiteral("no/such/folder/graph.log")));
    EXPECT_EQ(graph.LogFile(), log);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Added \"File Source\" (filesrc)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Connected \"Audio Converter\".src to \"Audio Resampler\".sink")));
    EXPECT_TRUE(text.contains(QStringLiteral("Removed \"Volume\" (volume)")));
}

using TFilterGraphCaptureTest = CaptureFixture;

TEST_F(TFilterGraphCaptureTest, ResetLeavesExactlyTheClientsFiltersUnconnected)
{
    const CameraEnvironment camera(QByteArray(), QByteArrayLiteral("mjpeg"));
    ASSERT_TRUE(startPreview());
    TBitmap frame;
    ASSERT_TRUE(waitForFrame(frame));
    ASSERT_GT(graphFilters().size(), 3u); // the decoder and converter the builder added
    graph.ResetGraph();
    const auto left = graphFilters();
    const std::vector<GstElement *> clients { videoWindow->GetClientFilter(), grabber.GetClientFilter(),
        filter.GetClientFilter() };
    ASSERT_EQ(left.size(), clients.size());
    for (GstElement *remaining : left) {
        EXPECT_NE(std::find(clients.begin(), clients.end(), remaining), clients.end());
        for (const GstRef<GstPad> &pad : padsOf(remaining)) {
            EXPECT_FALSE(gst_pad_is_linked(pad.get())) << GST_OBJECT_NAME(remaining) << "." << GST_PAD_NAME(pad.get());
        }
    }
    // The graph can be rendered and run again from there.
    ASSERT_NO_THROW(graph.RenderStream(&filter, &grabber, videoWindow.get()));
    ASSERT_TRUE(graph.RunGraph());
    TBitmap again;
    EXPECT_TRUE(waitForFrame(again));
}

TEST_F(TFilterGraphCaptureTest, EachActivationBindsANewSourceFilterFromTheStoredMoniker)
{
    const CameraEnvironment camera;
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    filter.BaseFilter()->StoreMoniker(&*moniker);
    graph.SetActive(true);
    const auto first = GstRef<GstElement>::ref(filter.GetClientFilter()); // held: the second cannot take its address
    graph.SetActive(false);
    EXPECT_FALSE(filter.GetClientFilter());
    graph.SetActive(true);
    GstElement *second = filter.GetClientFilter();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.get(), second);
    EXPECT_STREQ(GST_OBJECT_NAME(second), "Filter");
    EXPECT_TRUE(isDeviceSource(second));
}

TEST_F(TFilterGraphCaptureTest, ACameraThatRefusesToStartGivesItsOwnReasonAndTheDeviceCode)
{
    const CameraEnvironment camera;
    {
        qputenv("PIXOLO_TESTCAM_BUSY", "1");
        const auto busyEnds = qScopeGuard([] { qunsetenv("PIXOLO_TESTCAM_BUSY"); });
        // A camera starts beside the caller, and its refusal arrives as the graph's error event. The source posts
        // its reason, then its base class a general "Failed to start": the first one counts.
        std::vector<DSErrorCode> errors;
        graph.OnGraphErrorAbort = [&](QObject *, DSErrorCode result) { errors.push_back(result); };
        EXPECT_TRUE(startPreview());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !errors.empty(); }, 2000));
        EXPECT_EQ(errors.front(), E_DEVICE_LOST);
        EXPECT_EQ(graph.LastErrorText(), QStringLiteral("Device 'pixolo-testcam:0' is busy"));
        graph.OnGraphErrorAbort = nullptr;
    }
    // The next run starts with a clean slate.
    ASSERT_TRUE(startPreview());
    EXPECT_TRUE(graph.LastErrorText().isEmpty()) << graph.LastErrorText().toStdString();
}

TEST_F(TFilterGraphCaptureTest, RenderStreamRefusesWhatItCannotConnect)
{
    const CameraEnvironment camera;
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    filter.BaseFilter()->StoreMoniker(&*moniker);
    RecordingClient sound(QStringLiteral("Sound"), true, "audiotestsrc"); // no video output
    graph.AttachClient(&sound);
    graph.SetActive(true);
    RecordingClient stranger(QStringLiteral("Stranger")); // its filter is in no graph
    stranger.NotifyClient(opBeforeAdd, 0);
    const auto codeOf = [&](IGraphClient *source, IGraphClient *intermediate, IGraphClient *sink) {
        try {
            graph.RenderStream(source, intermediate, sink);
        } catch (const EDirectShowException &error) {
            return error.ErrorCode();
        }
        return DSErrorCode(0);
    };
    EXPECT_EQ(codeOf(&sound, &grabber, nullptr), E_NOT_FOUND);
    EXPECT_EQ(codeOf(&filter, &stranger, nullptr), E_NOT_IN_GRAPH);
    EXPECT_EQ(codeOf(nullptr, &grabber, nullptr), E_POINTER);
    EXPECT_EQ(codeOf(&filter, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(graphFilters().size(), 4u); // nothing was left behind
    EXPECT_FALSE(hasLinkedPad(filter.GetClientFilter()));
    graph.SetActive(false);
    graph.DetachClient(&sound);
}

} // namespace
} // namespace pixolo
