#include "app/TfrmMain.h"

#include "app/CameraChoice.h"
#include "app/FormControls.h"
#include "app/GlobalVariant.h"
#include "app/JpegEncoder.h"
#include "app/PhotoFile.h"
#include "app/PhotoJobs.h"
#include "app/PixoloApplication.h"
#include "app/ProductTexts.h"
#include "app/PubFun.h"
#include "app/StartupTimeline.h"
#include "app/TfrmAbout.h"
#include "app/WindowPlacement.h"
#include "capture/DeviceRegistry.h"
#include "capture/EDirectShowException.h"
#include "capture/TFilter.h"
#include "capture/TFilterGraph.h"
#include "capture/TSampleGrabber.h"
#include "capture/TSysDevEnum.h"
#include "capture/TVideoWindow.h"
#include "platform/DesktopServices.h"
#include "platform/MessageBox.h"
#include "platform/TBitmap.h"
#include "skinctrls/TBevel.h"
#include "skinctrls/TImage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinPopupMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace pixolo
{

QPointer<TfrmMain> frmMain;

namespace
{

// The window's place on the screen and the size of its client area; the skinned frame goes around it.
constexpr QPoint kPosition(226, 139);
constexpr QSize kClientSize(729, 467);
// How old the newest frame may be for a snapshot to take it.
constexpr qint64 kFreshFrameMs = 1000;
// How long a started camera has to send its first picture before it is reported.
constexpr int kFirstFrameTimeoutMs = 5000;
// The "延时" box's wait before a snapshot, and the photos' JPEG quality.
constexpr int kSnapshotDelayMs = 5000;
constexpr int kPhotoQuality = 75;
// A camera that is listed but not running is tried again after this long, then twice as long each time, up to the
// longest wait: never a busy loop, and back within seconds once it can run.
constexpr int kCameraRetryFirstMs = 250;
constexpr int kCameraRetryLongestMs = 4000;
// How often a camera tried again is looked at for its first picture, which takes the "disconnected" words away.
constexpr int kPictureBackCheckMs = 100;
// When the shutter sound is made ready after the window first shows.
constexpr int kPrepareSoundAfterMs = 500;
const QString kCaptionError = QStringLiteral("Error:");

TbsSkinButton *button(QWidget *parent, const char *name, QRect bounds, const QString &caption, int tabOrder)
{
    auto *control = makeControl<TbsSkinButton>(parent, name, bounds);
    control->SetSkinDataName(QStringLiteral("button"));
    control->SetCaption(caption);
    control->SetTabOrder(tabOrder);
    return control;
}

} // namespace

TBitmap folderGlyph()
{
    // Sixteen colours are enough for the classic folder: yellow body, dark outline, white highlight.
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255)); // bottom-left pixel colour: transparent when drawn
    QPainter painter(&image);
    for (int half = 0; half < 2; ++half) {
        const bool disabled = half == 1;
        const int x = half * 16;
        const QColor outline = disabled ? QColor(128, 128, 128) : QColor(128, 128, 0);
        const QColor back = disabled ? QColor(192, 192, 192) : QColor(255, 255, 0);
        const QColor front = disabled ? QColor(255, 255, 255) : QColor(192, 192, 192);
        painter.setPen(outline);
        painter.setBrush(back);
        painter.drawRect(x + 1, 4, 11, 9); // back of the folder
        painter.drawRect(x + 1, 2, 5, 2); // its tab
        const QPolygon flap({ QPoint(x + 1, 13), QPoint(x + 4, 7), QPoint(x + 15, 7), QPoint(x + 12, 13) });
        painter.setBrush(front);
        painter.drawPolygon(flap); // the open front flap
        painter.setPen(QColor(255, 255, 255)); // highlight along the back
        painter.drawLine(x + 2, 5, x + 10, 5);
    }
    painter.end();
    TBitmap bitmap(image);
    bitmap.SetPixelFormat(pf4bit);
    return bitmap;
}

TfrmMain::TfrmMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pixolo"));
    move(kPosition);
    resize(kClientSize);
    setFont(defaultFormFont().toQFont());

    m_photos
        = new PhotoJobs([this](const PhotoJobs::Outcome &outcome) { photoDone(outcome.stored, outcome.error); }, this);
    createComponents();
    StartupTimeline::mark("main window: components made");
    createControls();
    StartupTimeline::mark("main window: controls made");

    // References resolve in the order they appear in the design: the graph's clients are VideoWindow,
    // SampleGrabber, Filter, and its only sink is VideoWindow.
    VideoWindow->SetFilterGraph(FilterGraph);
    SampleGrabber->SetFilterGraph(FilterGraph);
    Filter->SetFilterGraph(FilterGraph);
    FilterGraph->Loaded();
    VideoWindow->Loaded();
    MusicGraph->Loaded();
    bsSkinForm1->SetSkinData(bsSkinData1);
    pmCameras->SetSkinData(bsSkinData1);

    // The window sees every key before the focused control.
    qApp->installEventFilter(this);

    // The camera starts before the skin is loaded: its first picture takes longer to come than the skin to load,
    // and the camera starts beside the window (the preview does not depend on the skin).
    FormCreate();
    StartupTimeline::mark("main window: camera started");
    loadSkin(bsSkinData1, bsCompressedStoredSkin1);
    StartupTimeline::mark("main window: skin loaded");
    bsSkinForm1->resizeForClient(kClientSize);
    // At its place when it fits the screen there; moved onto the screen otherwise (a small screen, a large scale).
    move(WindowPlacement::fitOnScreens(kPosition, size()));
    setWindowIcon(programWindowIcon(*bsSkinData1));
    StartupTimeline::mark("main window: placed");
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
    // The graph goes before the controls that are its clients.
    try {
        FilterGraph->SetActive(false);
        MusicGraph->SetActive(false);
    } catch (const std::exception &) {
        // A graph that cannot be stopped cleanly is torn down with its owner anyway.
    }
}

void TfrmMain::createComponents()
{
    FilterGraph = new TFilterGraph(this);
    FilterGraph->setObjectName(QStringLiteral("FilterGraph"));
    FilterGraph->SetMode(gmCapture);
    FilterGraph->SetGraphEdit(false);
    FilterGraph->SetLinearVolume(true);
    FilterGraph->OnGraphDeviceLost = [this](QObject *, bool) { cameraGone(); };
    FilterGraph->OnGraphErrorAbort = [this](QObject *, DSErrorCode result) {
        cameraFailed(QString::fromStdString(EDirectShowException::messageFor(result)));
    };
    // A camera that was started and sends nothing is reported, not waited on.
    m_firstFrameWatch = new QTimer(this);
    m_firstFrameWatch->setSingleShot(true);
    connect(m_firstFrameWatch, &QTimer::timeout, this, [this] { firstFrameDue(); });
    m_cameraRetry = new QTimer(this);
    m_cameraRetry->setSingleShot(true);
    connect(m_cameraRetry, &QTimer::timeout, this, [this] { retryCamera(); });
    m_pictureBackWatch = new QTimer(this);
    m_pictureBackWatch->setInterval(kPictureBackCheckMs);
    connect(m_pictureBackWatch, &QTimer::timeout, this, [this] { pictureBackDue(); });

    // Throws when the platform cannot grab frames: then the window, and the program, cannot start.
    SampleGrabber = new TSampleGrabber(this);
    SampleGrabber->setObjectName(QStringLiteral("SampleGrabber"));

    Filter = new TFilter(this);
    Filter->setObjectName(QStringLiteral("Filter"));

    MusicGraph = new TFilterGraph(this);
    MusicGraph->setObjectName(QStringLiteral("MusicGraph"));
    MusicGraph->SetGraphEdit(false);
    MusicGraph->SetLinearVolume(true);

    makeSkinComponents(this, false, bsSkinData1, bsCompressedStoredSkin1);
    bsSkinForm1 = makeSkinForm(this, biSystemMenu | biMinimize | biRollUp);
}

void TfrmMain::createControls()
{
    QWidget *const client = bsSkinForm1->ClientWidget(); // the controls live inside the skinned frame
    bsSkinPanel1 = makePanel(client, "bsSkinPanel1", { 0, 426, 729, 11 }, alBottom, bvNone);
    bsSkinPanel2 = makePanel(client, "bsSkinPanel2", { 718, 11, 11, 415 }, alRight, bvNone);
    bsSkinPanel3 = makePanel(client, "bsSkinPanel3", { 0, 11, 11, 415 }, alLeft, bvNone);
    bsSkinPanel4 = makePanel(client, "bsSkinPanel4", { 0, 0, 729, 11 }, alTop, bvNone);
    bsSkinPanel5 = makePanel(client, "bsSkinPanel5", { 11, 11, 707, 415 }, alClient, bvFrame);

    Bevel1 = makeControl<TBevel>(bsSkinPanel5, "Bevel1", QRect(8, 264, 345, 41));
    Bevel1->SetShape(bsFrame);

    bsSkinStdLabel1 = makeControl<TbsSkinStdLabel>(bsSkinPanel5, "bsSkinStdLabel1", QRect(16, 277, 75, 13));
    bsSkinStdLabel1->SetSkinDataName(QStringLiteral("stdlabel"));
    bsSkinStdLabel1->SetCaption(QStringLiteral("照片存储路径:"));

    bsSkinSpeedButton1 = makeControl<TbsSkinSpeedButton>(bsSkinPanel5, "bsSkinSpeedButton1", QRect(256, 272, 25, 25));
    bsSkinSpeedButton1->SetSkinDataName(QStringLiteral("toolbutton"));
    bsSkinSpeedButton1->SetGlyph(folderGlyph());
    bsSkinSpeedButton1->SetNumGlyphs(2);
    bsSkinSpeedButton1->OnClick = [this](QObject *sender) { bsSkinSpeedButton1Click(sender); };

    Bevel2 = makeControl<TBevel>(bsSkinPanel5, "Bevel2", QRect(355, 264, 345, 41));
    Bevel2->SetShape(bsFrame);

    bsSkinPanel6 = makePanel(bsSkinPanel5, "bsSkinPanel6", { 22, 12, 326, 246 }, alNone, bvFrame);
    bsSkinPanel6->SetTabOrder(0);

    VideoWindow = new TVideoWindow(bsSkinPanel6);
    VideoWindow->setObjectName(QStringLiteral("VideoWindow"));
    VideoWindow->setGeometry(3, 3, 320, 240);
    VideoWindow->VMROptions()->SetMode(vmrWindowed);
    VideoWindow->SetColor(Qt::black);
    // The preview is a tab stop (its camera menu opens with the menu key): a dotted frame shows its focus.
    VideoWindow->OnPaint = [this](QObject *) {
        if (VideoWindow->ShowsVideo()) {
            StartupTimeline::markFirstPicture();
        }
        if (VideoWindow->hasFocus()) {
            QPainter painter(VideoWindow);
            QPen dots(Qt::white);
            dots.setStyle(Qt::DotLine);
            painter.setPen(dots);
            painter.drawRect(VideoWindow->rect().adjusted(0, 0, -1, -1));
        }
    };

    // Over the black preview while the camera in use is gone.
    lblCameraState = makeControl<TbsSkinStdLabel>(bsSkinPanel6, "lblCameraState", QRect(3, 3, 320, 240));
    lblCameraState->SetSkinDataName(QStringLiteral("stdlabel"));
    lblCameraState->SetAutoSize(false);
    lblCameraState->SetAlignment(taCenter);
    lblCameraState->SetLayout(tlCenter);
    lblCameraState->SetUseSkinColor(false); // the skin's font, in white on the black preview
    ControlFont stateFont = lblCameraState->Font();
    stateFont.Color = 0xFFFFFF;
    lblCameraState->SetFont(stateFont);
    lblCameraState->SetCaption(QStringLiteral("摄像头已断开"));
    lblCameraState->hide();

    bsSkinPanel7 = makePanel(bsSkinPanel5, "bsSkinPanel7", { 360, 12, 326, 246 }, alNone, bvFrame);
    bsSkinPanel7->SetTabOrder(1);

    Image = makeControl<TImage>(bsSkinPanel7, "Image", QRect(3, 3, 320, 240));
    Image->SetStretch(false);
    Image->SetCenter(false);

    edtsPath = makeControl<TbsSkinEdit>(bsSkinPanel5, "edtsPath", QRect(92, 272, 157, 18));
    edtsPath->SetSkinDataName(QStringLiteral("edit"));
    edtsPath->SetDefaultFont(ControlFont { QStringLiteral("Arial"), 14, 0, 0x000000 });
    edtsPath->SetHint(QStringLiteral("用于设置照片的存储路径,路径设置后可以自动保存"));
    edtsPath->SetShowHint(true);
    edtsPath->SetTabOrder(2);
    edtsPath->OnExit = [this](QObject *sender) { edtsPathExit(sender); };
    edtsPath->OnKeyDown
        = [this](QObject *sender, int &key, Qt::KeyboardModifiers shift) { edtsPathKeyDown(sender, key, shift); };

    bsSkinButton1 = button(bsSkinPanel5, "bsSkinButton1", { 286, 272, 60, 25 }, QStringLiteral("浏览"), 3);
    bsSkinButton1->OnClick = [this](QObject *sender) { bsSkinButton1Click(sender); };
    bsSkinButton2 = button(bsSkinPanel5, "bsSkinButton2", { 446, 272, 75, 25 }, QStringLiteral("拍照(F8)"), 4);
    bsSkinButton2->SetHint(QStringLiteral("拍照快捷键F8"));
    bsSkinButton2->SetShowHint(true);
    bsSkinButton2->OnClick = [this](QObject *sender) { bsSkinButton2Click(sender); };
    bsSkinButton3 = button(bsSkinPanel5, "bsSkinButton3", { 531, 272, 75, 25 }, QStringLiteral("关闭"), 5);
    bsSkinButton3->OnClick = [this](QObject *sender) { bsSkinButton3Click(sender); };
    bsSkinButton4 = button(bsSkinPanel5, "bsSkinButton4", { 617, 272, 75, 25 }, QStringLiteral("关于"), 6);
    bsSkinButton4->OnClick = [this](QObject *sender) { bsSkinButton4Click(sender); };

    cbDelay = makeControl<TbsSkinCheckRadioBox>(bsSkinPanel5, "cbDelay", QRect(376, 275, 60, 22));
    cbDelay->SetSkinDataName(QStringLiteral("checkbox"));
    cbDelay->SetFlat(false);
    cbDelay->SetCanFocused(true); // focusable, and so in the tab order
    cbDelay->SetDefaultWidth(60);
    cbDelay->SetDefaultHeight(22);
    cbDelay->SetRadio(false);
    cbDelay->SetChecked(false);
    cbDelay->SetCaption(QStringLiteral("延时"));
    ControlFont delayFont = cbDelay->DefaultFont();
    delayFont.Height = 22;
    delayFont.Style = fsBold;
    cbDelay->SetDefaultFont(delayFont);
    cbDelay->SetHint(QStringLiteral("勾选 延时  ,将在点击拍照后5秒自动拍照"));
    cbDelay->SetShowHint(true);
    cbDelay->SetTabOrder(7);

    bsSkinStatusBar1 = makeControl<TbsSkinStatusBar>(client, "bsSkinStatusBar1", QRect(0, 437, 729, 30));
    bsSkinStatusBar1->SetSkinDataName(QStringLiteral("statusbar"));
    bsSkinStatusBar1->SetBorderStyle(bvLowered);
    bsSkinStatusBar1->SetSizeGrip(false);
    bsSkinStatusBar1->SetDefaultAlignment(taCenter);
    bsSkinStatusBar1->SetAlign(alBottom);

    // The cameras, offered by a right click on the preview.
    pmCameras = new TbsSkinPopupMenu(this);
    pmCameras->setObjectName(QStringLiteral("pmCameras"));

    bsSkinStatusPanel1 = makeControl<TbsSkinStatusPanel>(bsSkinStatusBar1, "bsSkinStatusPanel1", QRect(1, 1, 727, 28));
    bsSkinStatusPanel1->SetSkinDataName(QStringLiteral("statuspanel"));
    bsSkinStatusPanel1->SetBorderStyle(bvNone);
    bsSkinStatusPanel1->SetAlignment(taCenter);
    bsSkinStatusPanel1->SetAlign(alClient);

    // The folder chooser is reached with Tab right after the folder it chooses.
    bsSkinSpeedButton1->setTakesFocus(true);
    bsSkinSpeedButton1->SetTabOrder(edtsPath->TabOrder() + 1);

    // Names for a screen reader where no caption says what a control is.
    VideoWindow->setAccessibleName(QStringLiteral("摄像头预览"));
    Image->setAccessibleName(QStringLiteral("最近的照片"));
    edtsPath->setAccessibleName(QStringLiteral("照片存储路径"));
    bsSkinSpeedButton1->setAccessibleName(QStringLiteral("选择照片存储路径"));

    // Every skinned control draws from the window's store (the status bar passes it on to its panel).
    bindSkin(bsSkinData1,
        { bsSkinPanel1, bsSkinPanel2, bsSkinPanel3, bsSkinPanel4, bsSkinPanel5, bsSkinStdLabel1, bsSkinSpeedButton1,
            bsSkinPanel6, bsSkinPanel7, edtsPath, bsSkinButton1, bsSkinButton2, bsSkinButton3, bsSkinButton4, cbDelay,
            bsSkinStatusBar1, lblCameraState });
}

QString TfrmMain::captionText()
{
    using namespace ProductTexts;
    return decode(kTitle) + QStringLiteral(" － ") + decode(kCaptionText2) + QLatin1Char(' ') + decode(kCaptionText3)
        + QLatin1Char(' ') + decode(kWebAddress);
}

void TfrmMain::FormCreate()
{
    // An error here is reported and the window opens all the same.
    try {
        m_devEnum = std::make_unique<TSysDevEnum>(CLSID_VideoInputDeviceCategory);
        StartupTimeline::mark("main window: cameras listed");
        m_chosenCamera = CameraChoice::fromSettingsText(
            IniReadString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("Camera"), QString()));
        if (m_devEnum->DeviceCount() <= 0) {
            MessageBox::show(
                QStringLiteral("未发现可以使用的视频捕获设备!"), rcGlobalVariant.sAppTitle, MessageBox::NoIcon, this);
        }
        DeviceCommand(dcConnect);
        DeviceCommand(dcPreview); // preview connects again first
    } catch (const std::exception &error) {
        PixoloApplication::showException(error);
    }
    // Cameras plugged in or out while the program runs.
    connect(&DeviceRegistry::videoSources(), &DeviceRegistry::devicesChanged, this, [this] { devicesChanged(); });
}

void TfrmMain::DeviceCommand(int code)
{
    switch (code) {
    case dcConnect:
        m_cameraLost = false; // a new connection starts afresh
        try {
            // The camera chosen last, else the one in use before (it came back), else the first.
            const std::vector<CameraChoice::Camera> cameras
                = m_devEnum ? CameraChoice::camerasOf(*m_devEnum) : std::vector<CameraChoice::Camera>();
            const int index
                = CameraChoice::preferredIndex(cameras, m_chosenCamera.isEmpty() ? m_cameraInUse : m_chosenCamera);
            const std::optional<DeviceMoniker> camera
                = index >= 0 ? m_devEnum->DeviceMoniker(index) : std::optional<DeviceMoniker>();
            const QByteArray wanted = camera ? camera->Save() : QByteArray();
            m_cameraInUse = wanted;
            m_cameraInUseLabel = CameraChoice::label(camera ? &*camera : nullptr);
            // The preview starts by connecting again what was connected a moment ago: a connection to the same
            // camera that nothing was rendered into since is already the one asked for.
            if (m_freshConnection && FilterGraph->Active() && Filter->BaseFilter()->Block() == wanted) {
                break;
            }
            m_freshConnection = false;
            FilterGraph->ResetGraph();
            FilterGraph->SetActive(false);
            Filter->BaseFilter()->StoreMoniker(camera ? &*camera : nullptr);
            FilterGraph->SetActive(true);
            m_freshConnection = true;
        } catch (const std::exception &) {
            m_freshConnection = false;
            MessageBox::show(QStringLiteral("Connect Fail!"), kCaptionError, MessageBox::NoIcon, this);
        }
        break;
    case dcPreview: {
        DeviceCommand(dcConnect);
        if (!FilterGraph->Active()) {
            MessageBox::show(QStringLiteral("Please Connect Device First !"), kCaptionError, MessageBox::NoIcon, this);
            return;
        }
        m_freshConnection = false; // rendered into from here on
        try {
            // Without a camera there is no source and this fails quietly: the preview stays black.
            FilterGraph->RenderStream(Filter, SampleGrabber, VideoWindow);
        } catch (const EDirectShowException &error) {
            if (!m_cameraInUse.isEmpty()) {
                // A camera whose picture cannot be connected is not started: it could only wait for a format that
                // nothing asks for. It is told at once, and tried again when the cameras change.
                showCameraLost();
                throw EDSGraphException(CameraChoice::openFailureText(m_cameraInUseLabel,
                    QStringLiteral("its picture cannot be connected"), QString::fromUtf8(error.what()))
                                            .toStdString());
            }
        }
        // A refusal raises, for the default error handler. A camera that is listed but cannot be opened (busy, or
        // not the user's to open) is named, with the system's reason, beside the graph's own words; a camera
        // starts beside the window, so its refusal usually arrives later, as the graph's error event.
        try {
            FilterGraph->RunGraph();
        } catch (const EDirectShowException &error) {
            if (m_cameraInUse.isEmpty()) {
                throw;
            }
            throw EDSGraphException(CameraChoice::openFailureText(
                m_cameraInUseLabel, FilterGraph->LastErrorText(), QString::fromUtf8(error.what()))
                                        .toStdString());
        }
        if (!m_cameraInUse.isEmpty()) {
            m_opening = true;
            m_openedAt.start();
            m_firstFrameWatch->start(kFirstFrameTimeoutMs);
        }
        break;
    }
    case dcStop:
        m_freshConnection = false;
        m_opening = false; // stopped on purpose: nothing to wait for
        m_firstFrameWatch->stop();
        try {
            FilterGraph->ResetGraph();
            FilterGraph->SetActive(false);
        } catch (const std::exception &) {
            MessageBox::show(QStringLiteral("Stop Device Fail!"), kCaptionError, MessageBox::NoIcon, this);
        }
        break;
    default:
        break;
    }
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfrmMain::FormShow()
{
    if (!m_shownOnce) {
        m_shownOnce = true;
        // The shutter sound is made ready once the preview has had its start, so that neither waits for the other.
        QTimer::singleShot(kPrepareSoundAfterMs, this, [this] { prepareShutterSoundAhead(); });
    }
    setWindowTitle(captionText());
    edtsPath->SetText(
        IniReadString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()));
    edtsPath->home(false); // a long folder shows its beginning, as it was typed, not its end
    // An empty folder text stores photos in the Pictures folder: the edit shows it greyed.
    edtsPath->setPlaceholderText(PhotoFile::defaultFolder());
    // A copy that ended while storing a photo may have left it under its hidden temporary name: a whole photo gets
    // its name, part of one goes.
    PhotoFile::tidyTemporaryFiles(PhotoFile::photoPathText(edtsPath->Text()));
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A key press travels from its first receiver up through the parents, each seeing the same event object; the
    // window previews it once, at the first receiver (the focused control, or the window itself). The press being
    // previewed is remembered while it travels: a snapshot's delay handles other events meanwhile, and the focus
    // may move to another program, after which the travelling key must not look like a new one at the window.
    // Any other event seen here means the journey is over, so a later press at the same address counts again.
    if (event != m_previewedKey) {
        m_previewedKey = nullptr;
    } else {
        return false;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : widget->window();
        if (widget == first && widget->window() == this) {
            const QPointer<TfrmMain> self(this);
            m_previewedKey = event;
            FormKeyDown(static_cast<QKeyEvent *>(event)->key());
            if (self) {
                m_previewedKey = event; // events handled during the key's own handler cleared it
            }
        }
    }
    // A right click on the preview (or on what it says over it) offers the cameras.
    if (event->type() == QEvent::ContextMenu && (watched == VideoWindow || watched == lblCameraState)) {
        showCameraMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return false; // the key goes on to the focused control
}

void TfrmMain::showCameraMenu(const QPoint &at)
{
    if (!m_devEnum) {
        return;
    }
    pmCameras->clear();
    for (const CameraChoice::Camera &camera : CameraChoice::camerasOf(*m_devEnum)) {
        QString caption = camera.name;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&")); // a name is not an access key
        QAction *item = pmCameras->addAction(caption);
        item->setCheckable(true);
        item->setChecked(camera.identity == m_cameraInUse && !m_cameraLost);
        const QByteArray identity = camera.identity;
        connect(item, &QAction::triggered, this, [this, identity] { chooseCamera(identity); });
    }
    if (pmCameras->actions().isEmpty()) {
        return;
    }
    pmCameras->Popup(at.x(), at.y());
}

void TfrmMain::chooseCamera(const QByteArray &identity)
{
    // Used at once, and kept for the next start. A settings file that refuses the choice does not stop the switch:
    // the user is told afterwards that it will not be remembered, and why.
    m_chosenCamera = identity;
    QString notRemembered;
    try {
        IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("Camera"),
            CameraChoice::settingsText(identity));
    } catch (const EIniWriteError &error) {
        notRemembered = QString::fromUtf8(error.what());
    }
    if (!(identity == m_cameraInUse && !m_cameraLost && FilterGraph->Active())) {
        m_cameraLost = false;
        m_quietOpening = false; // a camera the user chose is reported when it refuses
        lblCameraState->hide();
        DeviceCommand(dcPreview);
    }
    if (!notRemembered.isEmpty()) {
        MessageBox::show(QStringLiteral("The camera is in use now, but the choice cannot be remembered for the next "
                                        "start.\n")
                + notRemembered,
            rcGlobalVariant.sAppTitle, MessageBox::Warning, this);
    }
}

void TfrmMain::FormKeyDown(int key)
{
    if (key == Qt::Key_F8) {
        bsSkinButton2Click(bsSkinButton2);
    }
}

std::optional<QByteArray> TfrmMain::MakeJpeg(const TBitmap &bitmap, int quality)
{
    return JpegEncoder::encode(bitmap, quality);
}

void TfrmMain::bsSkinButton2Click(QObject *)
{
    const QPointer<TfrmMain> self(this);
    if (cbDelay->Checked()) {
        Delay(kSnapshotDelayMs); // every handler stays live meanwhile, the close button included
        if (!self || m_closed) {
            return; // the window went away during the wait: no photo after that
        }
    }
    // One photo is stored at a time: a snapshot asked for meanwhile (F8 held down, a slow disk) takes its frame when
    // the one before is stored, as a key press waiting for its turn would. Waiting frames would hold memory without
    // bound.
    if (m_photos->busy()) {
        ++m_snapshotsWaiting;
        return;
    }
    takeSnapshot();
}

void TfrmMain::takeSnapshot()
{
    // A photo is only ever a frame the camera delivered lately. A camera that stopped (unplugged, or its graph
    // reported it lost) leaves its last frame in the grabber, which must not be stored under the current time.
    const qint64 frameAge = SampleGrabber->FrameAge();
    const bool fresh = !m_cameraLost && frameAge >= 0 && frameAge <= kFreshFrameMs;
    TBitmap bitmap;
    const bool grabbed = fresh && SampleGrabber->CopyFrameToBitmap(&bitmap);

    // Encoding and storing the photo take a while (a large frame, a disk sync): they run beside the window, which
    // goes on painting the preview and taking input meanwhile; the outcome comes back through the event loop. The
    // photo is shown while it is stored (the job reads a shared copy of the same pixels).
    const QString pathText = PhotoFile::photoPathText(edtsPath->Text());
    m_photos->start([bitmap, grabbed, pathText]() -> QString {
        const std::optional<QByteArray> jpeg = MakeJpeg(bitmap, kPhotoQuality);
        // No frame, or a frame the encoder could not take: nothing is stored, rather than an empty file.
        if (!grabbed || bitmap.Empty() || !jpeg || jpeg->isEmpty()) {
            return {};
        }
        return PhotoFile::store(pathText, QDateTime::currentDateTime(), *jpeg);
    });
    Image->SetPicture(bitmap);
}

void TfrmMain::tellPhotoOutcome(const QString &stored, const std::exception_ptr &error)
{
    m_lastPhotoFile.clear();
    if (error) {
        // A refused file, memory running out: its message, as the default handler gives it.
        try {
            std::rethrow_exception(error);
        } catch (const std::exception &failure) {
            PixoloApplication::showException(failure);
        } catch (...) {
            PixoloApplication::showException(std::runtime_error("The photo could not be stored."));
        }
        return;
    }
    if (stored.isEmpty()) {
        MessageBox::show(QStringLiteral("未能取得图像,照片未保存!"), kCaptionError, MessageBox::Error, this);
        return;
    }
    m_lastPhotoFile = stored;
    if (m_closed) {
        return; // the program is ending (closed, or asked to end, while the photo was stored): no sound after that
    }
    PlayShutterSound();
}

void TfrmMain::photoDone(const QString &stored, const std::exception_ptr &error)
{
    tellPhotoOutcome(stored, error);
    if (m_snapshotsWaiting > 0 && !m_closed && !m_photos->busy()) {
        --m_snapshotsWaiting;
        takeSnapshot();
    }
}

void TfrmMain::waitForPhotos()
{
    m_photos->finishAll();
}

TfrmMain::SoundFileStamp TfrmMain::SoundFileStamp::of(const QString &file)
{
    const QFileInfo info(file);
    return { info.exists(), info.size(), info.lastModified() };
}

void TfrmMain::prepareShutterSound(const SoundFileStamp &stamp)
{
    // The shutter sound's chain is built once and played again and again; a sound file that changed since (its size
    // or time) is built anew.
    m_soundPrepared = false;
    MusicGraph->ResetGraph();
    MusicGraph->SetActive(true);
    MusicGraph->RenderMediaFile(rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.wav"));
    m_soundStamp = stamp;
    m_soundPrepared = true;
    m_soundAtStart = true;
}

void TfrmMain::prepareShutterSoundAhead()
{
    if (m_soundPrepared || m_closed) {
        return;
    }
    try {
        prepareShutterSound(SoundFileStamp::of(rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.wav")));
    } catch (const std::exception &) {
        // No sound to prepare: the first snapshot tries again, silently.
        silenceShutterSound();
    }
}

void TfrmMain::silenceShutterSound()
{
    m_soundPrepared = false;
    try {
        MusicGraph->ResetGraph();
        MusicGraph->SetActive(false);
    } catch (const std::exception &) {
    }
}

void TfrmMain::PlayShutterSound()
{
    // The sound is a nicety: whatever goes wrong with it is dropped, and the next snapshot tries again.
    try {
        const SoundFileStamp stamp = SoundFileStamp::of(rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.wav"));
        if (!m_soundPrepared || !(stamp == m_soundStamp) || !MusicGraph->Active()) {
            prepareShutterSound(stamp);
        } else if (!m_soundAtStart) {
            if (!MusicGraph->RewindMedia()) {
                prepareShutterSound(stamp);
            }
        }
        m_soundAtStart = false;
        MusicGraph->RunGraph();
    } catch (const std::exception &) {
        silenceShutterSound();
    }
}

bool TfrmMain::frameSinceOpening() const
{
    const qint64 age = SampleGrabber->FrameAge();
    return age >= 0 && m_openedAt.isValid() && age <= m_openedAt.elapsed();
}

void TfrmMain::firstFrameDue()
{
    if (!m_opening || m_cameraLost || frameSinceOpening()) {
        if (!m_cameraLost && frameSinceOpening()) {
            cameraRunning();
        }
        m_opening = false;
        return;
    }
    m_opening = false;
    cameraGone();
    if (m_quietOpening) {
        return; // a camera tried again: it stays lost, and is tried again later
    }
    PixoloApplication::showException(EDSGraphException(CameraChoice::openFailureText(m_cameraInUseLabel,
        QStringLiteral("it sent no picture within %1 seconds").arg(kFirstFrameTimeoutMs / 1000),
        QString::fromStdString(EDirectShowException::messageFor(E_TIMEOUT)))
                                                           .toStdString()));
}

void TfrmMain::cameraFailed(const QString &graphError)
{
    // A camera that fails before its first picture never opened: the user hears why, with its name. One that
    // failed after it ran is gone, and the preview says so.
    const bool refused = m_opening && !frameSinceOpening() && !m_quietOpening;
    m_opening = false;
    const QString reason = FilterGraph->LastErrorText();
    cameraGone();
    if (refused) {
        PixoloApplication::showException(
            EDSGraphException(CameraChoice::openFailureText(m_cameraInUseLabel, reason, graphError).toStdString()));
    }
}

void TfrmMain::showCameraLost()
{
    m_cameraLost = true;
    m_firstFrameWatch->stop();
    m_pictureBackWatch->stop();
    lblCameraState->show();
    lblCameraState->raise();
    scheduleCameraRetry();
}

void TfrmMain::scheduleCameraRetry()
{
    if (m_closed || m_cameraInUse.isEmpty() || m_cameraRetry->isActive()) {
        return;
    }
    m_cameraRetry->start(m_retryDelayMs);
    m_retryDelayMs = std::min(m_retryDelayMs * 2, kCameraRetryLongestMs);
}

void TfrmMain::retryCamera()
{
    if (m_closed || !m_cameraLost || m_cameraInUse.isEmpty()) {
        return;
    }
    // Only a camera that is listed: one that left the list is started again when it comes back to it.
    m_devEnum = std::make_unique<TSysDevEnum>(CLSID_VideoInputDeviceCategory);
    const std::vector<CameraChoice::Camera> cameras = CameraChoice::camerasOf(*m_devEnum);
    if (std::none_of(cameras.begin(), cameras.end(),
            [&](const CameraChoice::Camera &camera) { return camera.identity == m_cameraInUse; })) {
        return;
    }
    // Tried quietly: its refusal was told when it was first opened. The "disconnected" words stay over the preview
    // until its first picture arrives.
    m_quietOpening = true;
    try {
        DeviceCommand(dcPreview);
        m_pictureBackWatch->start();
    } catch (const std::exception &) {
        if (m_cameraLost) {
            scheduleCameraRetry();
        } else {
            cameraGone();
        }
    }
}

void TfrmMain::pictureBackDue()
{
    if (m_cameraLost || !FilterGraph->Active()) {
        m_pictureBackWatch->stop();
        return;
    }
    if (frameSinceOpening()) {
        cameraRunning();
    }
}

void TfrmMain::cameraRunning()
{
    m_pictureBackWatch->stop();
    m_quietOpening = false;
    m_retryDelayMs = kCameraRetryFirstMs;
    lblCameraState->hide();
}

void TfrmMain::cameraGone()
{
    if (m_cameraLost) {
        return; // told once (a lost camera is reported as lost and as an error): stopped once
    }
    m_cameraLost = true; // no photo from here on, at once
    m_firstFrameWatch->stop();
    m_pictureBackWatch->stop();
    // The graph is stopped once, after the event that told us has been handled; the preview says why it is black
    // until the camera comes back. A camera still listed is tried again.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_cameraLost) {
                return; // it came back meanwhile and runs again: that graph stays
            }
            m_freshConnection = false;
            try {
                FilterGraph->ResetGraph();
                FilterGraph->SetActive(false);
            } catch (const std::exception &) {
                // Nothing more to stop.
            }
            lblCameraState->show();
            lblCameraState->raise();
            scheduleCameraRetry();
        },
        Qt::QueuedConnection);
}

void TfrmMain::devicesChanged()
{
    if (m_closed) {
        return;
    }
    m_devEnum = std::make_unique<TSysDevEnum>(CLSID_VideoInputDeviceCategory);
    const std::vector<CameraChoice::Camera> cameras = CameraChoice::camerasOf(*m_devEnum);
    const bool inUsePresent = std::any_of(cameras.begin(), cameras.end(),
        [&](const CameraChoice::Camera &camera) { return camera.identity == m_cameraInUse; });
    // The camera in use came back after it was lost; or a camera appeared while there was none.
    if (!inUsePresent && !m_cameraInUse.isEmpty() && !m_cameraLost) {
        // The camera in use left the list: it is gone, whatever its source says (a stream whose node went away
        // may just stop sending). Gone is not refused: nothing more is said of it.
        m_opening = false;
        cameraGone();
        return;
    }
    const bool comeBack = m_cameraLost && !m_cameraInUse.isEmpty() && inUsePresent;
    const bool first = m_cameraInUse.isEmpty() && !cameras.empty();
    if (!comeBack && !first) {
        return;
    }
    m_cameraLost = false;
    lblCameraState->hide();
    // A camera that came back is not reported when it fails to open again (it may have been pulled at once): it
    // is tried again, quietly, while it is listed.
    m_quietOpening = comeBack;
    m_retryDelayMs = kCameraRetryFirstMs;
    m_cameraRetry->stop();
    try {
        DeviceCommand(dcPreview);
    } catch (const std::exception &error) {
        PixoloApplication::showException(error);
    }
}

void TfrmMain::bsSkinButton1Click(QObject *)
{
    // The file manager opens the folder photos go to: the Pictures folder for an empty text, a relative one as the
    // program's working folder resolves it.
    const QString path = PhotoFile::photoPathText(edtsPath->Text());
    // Without a file manager the click would do nothing visible: the user is told why.
    DesktopServices::openFolder(
        QDir::current().absoluteFilePath(path), [window = QPointer<TfrmMain>(this)](const QString &problem) {
            MessageBox::show(problem, rcGlobalVariant.sAppTitle, MessageBox::Warning, window);
        });
}

void TfrmMain::bsSkinButton3Click(QObject *)
{
    DeviceCommand(dcStop);
    close();
}

void TfrmMain::bsSkinButton4Click(QObject *)
{
    if (!frmAbout) {
        frmAbout = new TfrmAbout(this); // owned by the program, which deletes it at the end
        frmAbout->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    frmAbout->SetProductIndex(2);
    frmAbout->show();
    frmAbout->raise();
    frmAbout->activateWindow();
}

void TfrmMain::bsSkinSpeedButton1Click(QObject *)
{
    const std::optional<QString> chosen = DesktopServices::chooseFolder(this, QStringLiteral("照片存储路径:"));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    QString path = *chosen;
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    edtsPath->SetText(path);
    IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), path);
}

void TfrmMain::savePhotoPath()
{
    IniWriteString(rcGlobalVariant.sIniFile, QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
        PhotoFile::settingsText(edtsPath->Text()));
}

void TfrmMain::edtsPathExit(QObject *)
{
    savePhotoPath();
}

void TfrmMain::edtsPathKeyDown(QObject *, int &key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        edtsPath->selectAll();
        savePhotoPath();
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        // However the window is closed (its close button, the frame's close button or menu), the camera stops as
        // "关闭" stops it; after that button the graph is already inactive.
        if (!m_closed && FilterGraph->Active()) {
            DeviceCommand(dcStop);
        }
        m_closed = true;
        m_photos->finishAll(); // the photos taken are stored and named before the program ends, silently
        QCoreApplication::quit(); // closing the main window ends the program
    }
}

} // namespace pixolo
