#include "CaptureTestSupport.h"

#include "capture/DeviceRegistry.h"

#include "capture/TSysDevEnum.h"

#include "TestPicture.h"

#include <QFile>
#include <QtEndian>

#include <gst/app/gstappsink.h>

#include <cmath>
#include <stdexcept>

namespace pixolo::test
{

CameraEnvironment::CameraEnvironment(const QByteArray &size, const QByteArray &format, const QByteArray &vanishAfter)
    : m_mayVanish(!vanishAfter.isEmpty())
{
    const std::pair<const char *, QByteArray> settings[] = {
        { "PIXOLO_TESTCAM_SIZE", size },
        { "PIXOLO_TESTCAM_FORMAT", format },
        { "PIXOLO_TESTCAM_VANISH_AFTER", vanishAfter },
    };
    for (const auto &[name, value] : settings) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
}

CameraEnvironment::~CameraEnvironment()
{
    for (const auto &[name, value] : m_saved) {
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    // A camera that vanished stays away until its provider starts again with the setting as it was.
    if (m_mayVanish) {
        DeviceRegistry::reloadAll();
    }
}

NoDevices::NoDevices()
{
    GList *factories = gst_device_provider_factory_list_get_device_providers(GST_RANK_NONE);
    for (GList *item = factories; item; item = item->next) {
        auto *feature = GST_PLUGIN_FEATURE(item->data);
        m_ranks.emplace_back(GST_PLUGIN_FEATURE(gst_object_ref(feature)), gst_plugin_feature_get_rank(feature));
        gst_plugin_feature_set_rank(feature, GST_RANK_NONE); // a device monitor only uses ranked providers
    }
    gst_plugin_feature_list_free(factories);
    DeviceRegistry::reloadAll(); // the running monitors must see the providers go
}

NoDevices::~NoDevices()
{
    for (const auto &[feature, rank] : m_ranks) {
        gst_plugin_feature_set_rank(feature, rank);
        gst_object_unref(feature);
    }
    DeviceRegistry::reloadAll();
}

std::optional<DeviceMoniker> testCameraMoniker()
{
    const TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    for (int i = 0; i < devices.DeviceCount(); ++i) {
        if (devices.Device(i)->FriendlyName == testCameraName) {
            return devices.DeviceMoniker(i);
        }
    }
    return std::nullopt;
}

QImage referenceFrame(int width, int height, const QByteArray &format, int number)
{
    const bool mjpeg = format == "mjpeg";
    const CameraEnvironment camera(QByteArray::number(width) + 'x' + QByteArray::number(height), format);
    const QByteArray description = "pixolotestcamsrc is-live=false num-buffers=" + QByteArray::number(number + 1)
        + (mjpeg ? " ! jpegdec" : "") + " ! videoconvert ! video/x-raw,format=BGR ! appsink name=out sync=false";
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.constData(), &error);
    if (!pipeline) {
        const std::string message = error ? error->message : "no pipeline";
        g_clear_error(&error);
        throw std::runtime_error("reference pipeline: " + message);
    }
    GstElement *sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    QImage frame;
    for (int i = 0; i <= number; ++i) {
        GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 10 * GST_SECOND);
        if (!sample) {
            break;
        }
        if (i == number) {
            GstMapInfo map;
            GstBuffer *buffer = gst_sample_get_buffer(sample);
            gst_buffer_map(buffer, &map, GST_MAP_READ);
            const int stride = (width * 3 + 3) / 4 * 4;
            frame = QImage(map.data, width, height, stride, QImage::Format_BGR888).copy();
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return frame;
}

int frameNumberOf(const QImage &picture)
{
    const testcam::TestPicture layout(picture.width(), picture.height());
    const int y = layout.counterTop() + layout.counterHeight() / 2;
    int number = 0;
    for (int block = 0; block < 16; ++block) {
        const QColor colour = picture.pixelColor(block * layout.blockWidth() + layout.blockWidth() / 2, y);
        number = number * 2 + (colour.lightness() > 128 ? 1 : 0);
    }
    return number;
}

QImage imageOf(const TBitmap &bitmap)
{
    return bitmap.image().convertToFormat(QImage::Format_BGR888);
}

RecordingClient::RecordingClient(QString name, bool withFilter, const char *factory)
    : m_name(std::move(name))
    , m_withFilter(withFilter)
    , m_factory(factory)
{
}

void RecordingClient::NotifyClient(TClientOperation operation, int)
{
    operations.push_back(operation);
    if (operation == opBeforeAdd && m_withFilter) {
        m_filter = GstRef<GstElement>::adopt(gst_element_factory_make(m_factory, nullptr));
        filtersMade.push_back(m_filter);
    } else if (operation == opAfterRemove) {
        if (m_filter) {
            gst_element_set_state(m_filter.get(), GST_STATE_NULL);
        }
        m_filter.reset();
    }
}

void RecordingSink::SinkGraphEvent(int code, std::intptr_t param1, std::intptr_t)
{
    graphEvents.emplace_back(code, param1);
    if (raiseOn == code) {
        raiseOn.reset();
        throw std::runtime_error("sink refused the event");
    }
}

void RecordingSink::SinkControlEvent(int code, int param)
{
    controlEvents.emplace_back(code, param);
}

bool RecordingSink::sawGraphEvent(int code) const
{
    for (const auto &[seen, param] : graphEvents) {
        if (seen == code) {
            return true;
        }
    }
    return false;
}

} // namespace pixolo::test
