// The main and About windows' handlers, offscreen: folder chooser, caption, settings, keys, snapshot failures.
#include "app/GlobalVariant.h"
#include "app/ProductTexts.h"
#include "app/PubFun.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "capture/DeviceRegistry.h"
#include "capture/GraphPipeline.h"
#include "capture/GstRef.h"
#include "capture/TFilterGraph.h"
#include "capture/TSampleGrabber.h"
#include "platform/DesktopServices.h"
#include "platform/MessageBox.h"
#include "platform/TBitmap.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include "Sounds.h"

#include <glib.h>

#include <memory>
#include <utility>

using namespace pixolo;

namespace
{

QString readSetting()
{
    return IniReadString(
        rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("<none>"));
}

class WindowsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        rcGlobalVariant.sAppPath = programDir.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);
        MessageBox::setHandler([this](const MessageBox::Message &message) { messages.push_back(message); });
        DesktopServices::setChooseFolderHandler([this](const QString &title) {
            chooserTitle = title;
            return chooserAnswer;
        });
        DesktopServices::setOpenFolderHandler([this](const QString &path) { opened << path; });
        DesktopServices::setOpenAddressHandler([this](const QString &address) { opened << address; });
    }

    void TearDown() override
    {
        about.reset();
        window.reset();
        MessageBox::setHandler({});
        DesktopServices::setChooseFolderHandler({});
        DesktopServices::setOpenFolderHandler({});
        DesktopServices::setOpenAddressHandler({});
    }

    TfrmMain &mainWindow()
    {
        if (!window) {
            window = std::make_unique<TfrmMain>();
            frmMain = window.get();
            window->show();
        }
        return *window;
    }

    TfrmMain &w() { return *window; }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto &message : messages) {
            texts << message.text;
        }
        return texts;
    }

    QTemporaryDir programDir;
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<TfrmAbout> about;
    std::vector<MessageBox::Message> messages;
    std::optional<QString> chooserAnswer;
    QString chooserTitle;
    QStringList opened;
};

} // namespace

TEST_F(WindowsTest, ShowSetsTheCaptionAndReadsThePhotoFolder)
{
    IniWriteString(
        rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/srv/照片/"));
    TfrmMain &w = mainWindow();
    EXPECT_EQ(
        w.windowTitle(), QStringLiteral("快拍宝 － 摄像头快照工具 Pixolo 工作室出品 https://pixolo.example.com/"));
    EXPECT_EQ(w.edtsPath->Text(), QStringLiteral("/srv/照片/"));
    EXPECT_EQ(w.size(), QSize(757, 523)); // the 729 × 467 client area in the skinned frame
    EXPECT_EQ(w.bsSkinButton2->Caption(), QStringLiteral("拍照(F8)"));
    EXPECT_EQ(w.cbDelay->Caption(), QStringLiteral("延时"));
    EXPECT_FALSE(w.cbDelay->Checked());
}

TEST_F(WindowsTest, BothWindowsCarryAndLoadTheBuiltInSkin)
{
    TfrmMain &w = mainWindow();
    about = std::make_unique<TfrmAbout>();
    for (auto [store, stored] : { std::pair { w.bsSkinData1, w.bsCompressedStoredSkin1 },
             std::pair { about->bsSkinData1, about->bsCompressedStoredSkin1 } }) {
        ASSERT_NE(store, nullptr);
        EXPECT_FALSE(store->Empty());
        EXPECT_EQ(store->CompressedStoredSkin(), stored);
        EXPECT_FALSE(stored->IsEmpty());
        EXPECT_EQ(stored->FileName(), QStringLiteral("skin.ini"));
    }
    EXPECT_EQ(w.bsCompressedStoredSkin1->CompressedData(), about->bsCompressedStoredSkin1->CompressedData());
    EXPECT_FALSE(w.bsSkinData1->EnableSkinEffects());
    EXPECT_TRUE(about->bsSkinData1->EnableSkinEffects());
}

TEST_F(WindowsTest, StartUpNamesWholePhotosLeftHiddenAndTidiesPartsOfPhotos)
{
    QTemporaryDir photos;
    const QString part = photos.filePath(QStringLiteral(".20261209100000.jpg.Ab12Cd"));
    const QString photo = photos.filePath(QStringLiteral("20261209100000.jpg"));
    const QString whole = photos.filePath(QStringLiteral(".20261209100000.jpg.Wh0le1"));
    const QByteArray jpeg("\xFF\xD8 a photo a copy ended before naming \xFF\xD9");
    for (const auto &[name, data] : { std::pair { part, QByteArray("jpeg") }, std::pair { photo, QByteArray("jpeg") },
             std::pair { whole, jpeg } }) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-300), QFileDevice::FileModificationTime));
    }
    IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
        photos.path() + QLatin1Char('/'));
    mainWindow();
    EXPECT_FALSE(QFile::exists(part));
    EXPECT_FALSE(QFile::exists(whole));
    EXPECT_TRUE(QFile::exists(photo));
    QFile recovered(photos.filePath(QStringLiteral("20261209100000-2.jpg")));
    ASSERT_TRUE(recovered.open(QIODevice::ReadOnly));
    EXPECT_EQ(recovered.readAll(), jpeg);
}

namespace
{

// Counts what GStreamer reports as critical (an element freed while running, a message posted by a freed element).
struct GStreamerCriticals {
    static inline int count = 0;
    guint handler;
    GStreamerCriticals()
    {
        count = 0;
        handler = g_log_set_handler(
            "GStreamer", GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
            [](const gchar *, GLogLevelFlags, const gchar *, gpointer) { ++count; }, nullptr);
    }
    ~GStreamerCriticals() { g_log_remove_handler("GStreamer", handler); }
};

} // namespace

TEST_F(WindowsTest, ClosingRightAfterTheStartStopsEveryElementBeforeItIsFreed)
{
    // The preview finishes its start on a thread of the pipeline's own; a window closed meanwhile must still stop
    // every element before freeing it, or a running camera source outlives its element.
    const GStreamerCriticals criticals;
    for (int round = 0; round < 30; ++round) {
        mainWindow();
        // The main thread is busy elsewhere (no events handled) while the pipeline's own threads start it.
        QThread::msleep(unsigned(round % 10) * 10);
        window.reset();
    }
    EXPECT_EQ(GStreamerCriticals::count, 0);
}

TEST_F(WindowsTest, ALongPhotoFolderShowsItsBeginningAfterStart)
{
    const QString folder
        = QStringLiteral("/home/someone/Pictures/") + QString(40, QLatin1Char('x')) + QStringLiteral("/camera/photos/");
    IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), folder);
    TfrmMain &w = mainWindow();
    EXPECT_EQ(w.edtsPath->Text(), folder);
    EXPECT_EQ(w.edtsPath->cursorPosition(), 0); // the edit shows the text from its start
}

TEST_F(WindowsTest, NoSettingsFileLeavesThePathEmpty)
{
    EXPECT_EQ(mainWindow().edtsPath->Text(), QString());
    EXPECT_FALSE(QFile::exists(rcGlobalVariant.sIniFile)); // reading never creates the file
}

TEST_F(WindowsTest, ChosenFolderGetsOneFinalSeparatorAndIsSaved)
{
    TfrmMain &w = mainWindow();
    chooserAnswer = QStringLiteral("/home/用户/Photos");
    w.bsSkinSpeedButton1Click(nullptr);
    EXPECT_EQ(chooserTitle, QStringLiteral("照片存储路径:"));
    EXPECT_EQ(w.edtsPath->Text(), QStringLiteral("/home/用户/Photos/"));
    EXPECT_EQ(readSetting(), QStringLiteral("/home/用户/Photos/"));

    chooserAnswer = QStringLiteral("/");
    w.bsSkinSpeedButton1Click(nullptr);
    EXPECT_EQ(w.edtsPath->Text(), QStringLiteral("/"));
    EXPECT_EQ(readSetting(), QStringLiteral("/"));

    // Cancelled, or an empty answer: nothing changes.
    chooserAnswer.reset();
    w.bsSkinSpeedButton1Click(nullptr);
    chooserAnswer = QString();
    w.bsSkinSpeedButton1Click(nullptr);
    EXPECT_EQ(w.edtsPath->Text(), QStringLiteral("/"));
    EXPECT_EQ(readSetting(), QStringLiteral("/"));
}

TEST_F(WindowsTest, LeavingTheEditSavesItsTextTrimmedButKeepsTheEdit)
{
    TfrmMain &w = mainWindow();
    w.edtsPath->SetText(QStringLiteral("  /data/photos \n"));
    w.edtsPathExit(w.edtsPath);
    EXPECT_EQ(readSetting(), QStringLiteral("/data/photos"));
    EXPECT_EQ(w.edtsPath->Text(), QStringLiteral("  /data/photos \n"));
}

TEST_F(WindowsTest, EnterInTheEditSelectsAllAndSaves)
{
    TfrmMain &w = mainWindow();
    w.edtsPath->setFocus();
    w.edtsPath->SetText(QStringLiteral(" /typed/path/"));
    w.edtsPath->setCursorPosition(3);
    QTest::keyClick(w.edtsPath, Qt::Key_Return);
    EXPECT_EQ(w.edtsPath->selectedText(), QStringLiteral(" /typed/path/"));
    EXPECT_EQ(readSetting(), QStringLiteral("/typed/path/"));
    // Other keys only type.
    IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("x"));
    QTest::keyClick(w.edtsPath, Qt::Key_A);
    EXPECT_EQ(readSetting(), QStringLiteral("x"));
}

TEST_F(WindowsTest, BrowseOpensTheFolderTextAsItStands)
{
    TfrmMain &w = mainWindow();
    w.edtsPath->SetText(QStringLiteral("/srv/photos/"));
    w.bsSkinButton1Click(nullptr);
    EXPECT_EQ(opened, QStringList { QStringLiteral("/srv/photos/") });
}

TEST_F(WindowsTest, SnapshotWithoutAFrameSaysSoAndStoresNothing)
{
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    w.DeviceCommand(TfrmMain::dcStop); // stopped: no frame to take
    messages.clear();
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") });
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().caption, QStringLiteral("Error:"));
    EXPECT_TRUE(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(w.lastPhotoFile().isEmpty());
}

TEST_F(WindowsTest, AVanishedCameraIsStoppedOnceSaysSoAndGivesNoPhoto)
{
    // The camera stays unplugged in this process until its providers start again with another setting.
    struct Replug {
        ~Replug() { DeviceRegistry::reloadAll(); }
    } replug;
    qputenv("PIXOLO_TESTCAM_VANISH_AFTER", "10"); // a third of a second of frames, then unplugged
    TfrmMain &w = mainWindow();
    qunsetenv("PIXOLO_TESTCAM_VANISH_AFTER");
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    messages.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.lblCameraState->isVisible(); }, 2000));
    EXPECT_EQ(w.lblCameraState->Caption(), QStringLiteral("摄像头已断开"));
    EXPECT_FALSE(w.FilterGraph->Active()); // stopped, once, without a word
    QTest::qWait(300);
    EXPECT_TRUE(messages.empty()) << messageTexts().join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(w.FilterGraph->Active());

    w.bsSkinButton2Click(w.bsSkinButton2);

    w.waitForPhotos();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") });
    EXPECT_TRUE(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(w.lastPhotoFile().isEmpty());
    window.reset();
}

TEST_F(WindowsTest, ThePreviewFollowsTheCameraBeingPluggedOutAndIn)
{
    QTemporaryDir plug;
    const QString plugged = plug.filePath(QStringLiteral("plugged"));
    qputenv("PIXOLO_TESTCAM_PLUG_FILE", QFile::encodeName(plugged));
    struct Restore {
        ~Restore()
        {
            qunsetenv("PIXOLO_TESTCAM_PLUG_FILE");
            DeviceRegistry::reloadAll();
        }
    } restore;
    DeviceRegistry::reloadAll(); // the providers read the environment when they start
    const auto plugIn = [&] {
        QFile file(plugged);
        return file.open(QIODevice::WriteOnly);
    };
    const auto previewRuns = [&] {
        return w().SampleGrabber->FrameAge() >= 0 && w().SampleGrabber->FrameAge() < 500
            && !w().lblCameraState->isVisible();
    };

    // Started without a camera: the program says so, then a camera appears and the preview starts.
    mainWindow();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未发现可以使用的视频捕获设备!") });
    ASSERT_TRUE(plugIn());
    ASSERT_TRUE(QTest::qWaitFor(previewRuns, 3000));

    // Pulled out: stopped once, said over the preview; errors that follow ask nothing.
    messages.clear();
    ASSERT_TRUE(QFile::remove(plugged));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w().lblCameraState->isVisible(); }, 2000));
    EXPECT_FALSE(w().FilterGraph->Active());
    w().FilterGraph->HandleGraphEvent(EC_ERRORABORT, E_FAIL, 0);
    w().FilterGraph->HandleGraphEvent(EC_DEVICE_LOST, 0, 1);
    QTest::qWait(100);
    EXPECT_TRUE(messages.empty()) << messageTexts().join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(w().FilterGraph->Active());

    // Plugged in again: the preview comes back by itself, and photos are taken again.
    ASSERT_TRUE(plugIn());
    ASSERT_TRUE(QTest::qWaitFor(previewRuns, 3000));
    QTemporaryDir photos;
    w().edtsPath->SetText(photos.path() + QLatin1Char('/'));
    w().bsSkinButton2Click(w().bsSkinButton2);
    w().waitForPhotos();
    EXPECT_FALSE(w().lastPhotoFile().isEmpty());
    EXPECT_TRUE(messages.empty()) << messageTexts().join(QLatin1Char(' ')).toStdString();
    window.reset();
}

TEST_F(WindowsTest, ALostCameraGivesNoPhotoBeforeTheGraphIsStopped)
{
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    // The graph's report arrives; before the window has stopped anything, the young last frame is still there.
    w.FilterGraph->HandleGraphEvent(EC_DEVICE_LOST, 0, 1);
    TBitmap stillThere;
    EXPECT_TRUE(w.SampleGrabber->CopyFrameToBitmap(&stillThere));
    EXPECT_LT(w.SampleGrabber->FrameAge(), 1000);
    messages.clear();
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") });
    EXPECT_TRUE(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(WindowsTest, SnapshotsAskedForWhileAPhotoIsStoredAreEachStoredInTurn)
{
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    messages.clear();
    for (int i = 0; i < 5; ++i) {
        w.bsSkinButton2Click(w.bsSkinButton2); // the first is still being stored when the others come
    }
    w.waitForPhotos();
    EXPECT_EQ(QDir(photos.path()).entryList({ QStringLiteral("*.jpg") }, QDir::Files).size(), 5);
    EXPECT_EQ(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).size(), 5); // nothing left half-stored
    EXPECT_TRUE(messages.empty()) << messageTexts().join(QLatin1Char(' ')).toStdString();
}

TEST_F(WindowsTest, ACameraThatStoppedDeliveringGivesNoPhotoOnceItsFrameIsASecondOld)
{
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_FALSE(w.lastPhotoFile().isEmpty()); // a live camera gives photos

    // Frames stop without any error (a stalled camera); the grabber keeps its last frame.
    gst_element_set_state(w.FilterGraph->Pipeline(), GST_STATE_PAUSED);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() > 1000; }, 5000));
    messages.clear();
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") });
    EXPECT_TRUE(w.lastPhotoFile().isEmpty());
    EXPECT_EQ(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(WindowsTest, TheShutterSoundIsBuiltOnceAndFollowsItsFile)
{
    GraphPipeline::setAudioSinkDescription("fakesink sync=true");
    const QString sound = programDir.filePath(QStringLiteral("Pixolo.wav"));
    test::writeWav(sound, 100);
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    const auto playing = [&] {
        gint64 duration = -1;
        const bool rendered = w.MusicGraph->Active() && w.MusicGraph->Pipeline()
            && gst_element_query_duration(w.MusicGraph->Pipeline(), GST_FORMAT_TIME, &duration) && duration >= 0;
        return rendered ? int(duration / GST_MSECOND) : -1; // milliseconds
    };
    const auto chain = [&] {
        std::vector<GstRef<GstElement>> filters; // held, so that a new chain cannot reuse their addresses
        for (GstElement *filter : w.MusicGraph->Filters()) {
            filters.push_back(GstRef<GstElement>::ref(filter));
        }
        return filters;
    };
    const auto shoot = [&] {
        w.bsSkinButton2Click(w.bsSkinButton2);
        w.waitForPhotos();
        return !w.lastPhotoFile().isEmpty();
    };

    ASSERT_TRUE(shoot());
    EXPECT_EQ(playing(), 100);
    const auto first = chain();
    ASSERT_FALSE(first.empty());
    ASSERT_TRUE(shoot());
    EXPECT_EQ(chain(), first) << "an unchanged sound is played again, not built again";

    // Replaced between two shots: the new file plays.
    QFile::remove(sound);
    test::writeWav(sound, 300);
    ASSERT_TRUE(shoot());
    EXPECT_EQ(playing(), 300);
    EXPECT_NE(chain(), first);

    // Removed: silence, and the photo is stored all the same, without a word.
    QFile::remove(sound);
    messages.clear();
    ASSERT_TRUE(shoot());
    EXPECT_EQ(playing(), -1);
    EXPECT_TRUE(messages.empty());

    // Back again: it plays.
    test::writeWav(sound, 200);
    ASSERT_TRUE(shoot());
    EXPECT_EQ(playing(), 200);
    window.reset();
    GraphPipeline::setAudioSinkDescription("autoaudiosink");
}

TEST_F(WindowsTest, F8AnywhereInTheWindowTakesASnapshotAndStillReachesTheEdit)
{
    TfrmMain &w = mainWindow();
    w.DeviceCommand(TfrmMain::dcStop);
    QApplication::setActiveWindow(&w);
    w.edtsPath->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w.edtsPath);
    w.edtsPath->SetText(QStringLiteral("abc"));
    messages.clear();
    QTest::keyClick(w.edtsPath, Qt::Key_F8);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") }); // exactly one snapshot
}

TEST_F(WindowsTest, OneF8DuringWhichTheFocusLeavesIsOneSnapshot)
{
    TfrmMain &w = mainWindow();
    w.DeviceCommand(TfrmMain::dcStop); // no frame: each snapshot says so once, which counts them
    QApplication::setActiveWindow(&w);
    w.edtsPath->setFocus();
    w.cbDelay->SetChecked(true);
    messages.clear();
    // Another program takes the focus while the snapshot waits: the key that started it still travels up to the
    // window afterwards and must not start a second one there.
    QTimer::singleShot(100, [] { QApplication::setActiveWindow(nullptr); });
    QTest::keyClick(w.edtsPath, Qt::Key_F8);
    w.waitForPhotos();
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(messageTexts(), QStringList { QStringLiteral("未能取得图像,照片未保存!") });
}

TEST_F(WindowsTest, ASecondF8DuringTheDelayIsASecondSnapshot)
{
    TfrmMain &w = mainWindow();
    w.DeviceCommand(TfrmMain::dcStop);
    QApplication::setActiveWindow(&w);
    w.edtsPath->setFocus();
    w.cbDelay->SetChecked(true);
    messages.clear();
    QTimer::singleShot(100, [&w] { QTest::keyClick(w.edtsPath, Qt::Key_F8); });
    QTest::keyClick(w.edtsPath, Qt::Key_F8);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts().size(), 2);
}

TEST_F(WindowsTest, ClosingDuringTheDelayWritesNothingAfterwards)
{
    TfrmMain &w = mainWindow();
    QTemporaryDir photos;
    w.edtsPath->SetText(photos.path() + QLatin1Char('/'));
    w.cbDelay->SetChecked(true);
    messages.clear();
    QTimer::singleShot(100, &w, [&w] { w.bsSkinButton3Click(w.bsSkinButton3); }); // "关闭" during the wait
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(QDir(photos.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(WindowsTest, AboutShowsItsTextsEveryTimeAndClosesOnEscOrOk)
{
    about = std::make_unique<TfrmAbout>();
    about->SetProductIndex(2);
    about->show();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("关于快拍宝"));
    EXPECT_EQ(about->Label1->Caption(), QStringLiteral("版本 1.0 快拍宝"));
    EXPECT_EQ(about->Label2->Caption(), QStringLiteral("摄像头快照工具"));
    EXPECT_EQ(about->Label4->Caption(), QStringLiteral("https://pixolo.example.com/"));
    EXPECT_FALSE(about->Label6->Caption().isEmpty());

    about->Label1->SetCaption(QStringLiteral("changed"));
    about->hide();
    about->show();
    EXPECT_EQ(about->Label1->Caption(), QStringLiteral("版本 1.0 快拍宝")); // refilled, nothing accumulated

    // A label that is not the link leaves the window open; the link opens the address.
    QTest::mouseClick(about->Label6, Qt::LeftButton);
    QTest::mouseClick(about->Label2, Qt::LeftButton);
    EXPECT_TRUE(about->isVisible());
    QTest::mouseClick(about->Label4, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList { QStringLiteral("https://pixolo.example.com/") });
    EXPECT_TRUE(about->isVisible());

    about->bsSkinButton1->setFocus();
    QTest::keyClick(about->bsSkinButton1, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());

    about->show();
    QTest::mouseClick(about->bsSkinButton1, Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(WindowsTest, AboutWithoutAProductIndexKeepsItsCaption)
{
    about = std::make_unique<TfrmAbout>();
    about->setWindowTitle(QStringLiteral("design"));
    about->show();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("design"));
    EXPECT_EQ(about->Label2->Caption(), QStringLiteral("摄像头快照工具"));
}

TEST_F(WindowsTest, ACameraThatStallsNeverHoldsTheWindowAndIsReportedByName)
{
    TfrmMain &w = mainWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SampleGrabber->FrameAge() >= 0; }, 10000));
    // From now on starting the camera holds whatever thread starts it for eight seconds, and then it sends nothing:
    // the window goes on with its own work all the while, and says what happened once the first picture is overdue.
    qputenv("PIXOLO_TESTCAM_STALL", "8");
    const auto unset = qScopeGuard([] { qunsetenv("PIXOLO_TESTCAM_STALL"); });
    messages.clear();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    ticks.start(10);
    QTimer::singleShot(20, &w, [&w] {
        w.DeviceCommand(TfrmMain::dcStop); // stopped and connected again: the stalling camera
        w.DeviceCommand(TfrmMain::dcPreview);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 7000));
    EXPECT_LT(clock.elapsed(), 6500); // after the five seconds the camera has, not after its stall
    EXPECT_EQ(messageTexts(),
        QStringList { QStringLiteral("Unable to open the camera \"Pixolo Test Camera\" (pixolo-testcam:0): it sent no "
                                     "picture within 5 seconds.\nA time-out has expired. ($8004022E).") });
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.lblCameraState->isVisible(); }, 1000));
    w.bsSkinButton2Click(w.bsSkinButton2);
    w.waitForPhotos();
    EXPECT_EQ(messageTexts().value(1), QStringLiteral("未能取得图像,照片未保存!"));
    // Closing while the camera is still starting does not wait for it either.
    const qint64 closing = clock.elapsed();
    QTimer::singleShot(0, [this] { window.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window && last > closing + 50; }, 1000)); // ticks after the close
    EXPECT_LT(longestGap, 100);
}
