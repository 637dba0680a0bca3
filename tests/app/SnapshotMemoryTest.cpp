// Many snapshots in one run, through the real paths: the test camera, the snapshot handler, the photo files and the
// shutter sound played from the real Pixolo.wav beside the program.
#include "app/GlobalVariant.h"
#include "app/TfrmMain.h"
#include "capture/TFilterGraph.h"
#include "capture/TSampleGrabber.h"
#include "platform/MessageBox.h"
#include "platform/TBitmap.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "ProcessLimits.h"

#include <memory>

using namespace pixolo;

TEST(SnapshotMemoryTest, ThreeHundredShotsWithTheShutterSoundKeepMemoryFlat)
{
    QTemporaryDir program;
    QTemporaryDir photos;
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIXOLO_SHUTTER_SOUND), program.filePath(QStringLiteral("Pixolo.wav"))));
    rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
    rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
    std::vector<MessageBox::Message> messages;
    MessageBox::setHandler([&](const MessageBox::Message &message) { messages.push_back(message); });

    auto window = std::make_unique<TfrmMain>();
    window->show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            TBitmap frame;
            return window->SampleGrabber->CopyFrameToBitmap(&frame);
        },
        10000));
    window->edtsPath->SetText(photos.path() + QLatin1Char('/'));

    int played = 0;
    const auto shoot = [&](int count) {
        for (int i = 0; i < count; ++i) {
            window->bsSkinButton2Click(window->bsSkinButton2);
            window->waitForPhotos();
            if (window->lastPhotoFile().isEmpty()) {
                return false;
            }
            played += window->MusicGraph->Active() ? 1 : 0; // an unplayable sound leaves the graph inactive
            QFile::remove(window->lastPhotoFile());
            QCoreApplication::processEvents();
        }
        return true;
    };
    ASSERT_TRUE(shoot(30)); // caches, pools and the first chains settle
    const long before = test::residentKiB();
    const long heapBefore = test::heapInUseKiB();
    ASSERT_TRUE(shoot(300));
    const long heapGrown = test::heapInUseKiB() - heapBefore;
    EXPECT_EQ(played, 330) << "the shutter sound did not play";
    EXPECT_TRUE(messages.empty());
    EXPECT_LT(heapGrown, 1024) << "300 shots grew the heap in use by " << heapGrown << " KiB";
#if !defined(PIXOLO_SANITIZED) // the sanitizer's quarantine keeps freed memory resident
    const long grown = test::residentKiB() - before;
    EXPECT_LT(grown, 4096) << "300 shots grew resident memory by " << grown << " KiB";
#else
    static_cast<void>(before);
#endif

    window.reset();
    MessageBox::setHandler({});
}
