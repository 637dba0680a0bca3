// Shared main of the test executables: an offscreen QApplication (widget tests need one, and the media layer
// delivers its events through the Qt event loop) and an initialised GStreamer.
#include <QApplication>

#include <gst/gst.h>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
