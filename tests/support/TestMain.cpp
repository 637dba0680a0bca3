// Shared main of the test executables: an offscreen QApplication (widget tests need one, and the media layer
// delivers its events through the Qt event loop) with the program's font set over the tests' own fonts, and an
// initialised GStreamer.
#include "platform/FontSet.h"

#include <QApplication>

#include <gst/gst.h>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The project's own GStreamer plugins (the virtual test camera) are found without any set-up.
    if (qEnvironmentVariableIsEmpty("GST_PLUGIN_PATH")) {
        qputenv("GST_PLUGIN_PATH", PIXOLO_PLUGIN_DIR);
    }
    // Exactly the font set's files, whatever else the machine has installed (fontconfig reads this once, on the
    // first font looked up). The programs that whole-program tests start inherit it.
    qputenv("FONTCONFIG_FILE", PIXOLO_TEST_FONTCONFIG);
    testing::InitGoogleTest(&argc, argv);
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    pixolo::installFontSet();
    return RUN_ALL_TESTS();
}
