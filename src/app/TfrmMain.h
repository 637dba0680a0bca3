#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QTimer;

#include <exception>
#include <memory>
#include <optional>

namespace pixolo
{

class PhotoJobs;
class TBevel;
class TBitmap;
class TFilter;
class TFilterGraph;
class TImage;
class TSampleGrabber;
class TSysDevEnum;
class TVideoWindow;
class TbsCompressedStoredSkin;
class TbsSkinButton;
class TbsSkinCheckRadioBox;
class TbsSkinData;
class TbsSkinEdit;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinPopupMenu;
class TbsSkinSpeedButton;
class TbsSkinStatusBar;
class TbsSkinStatusPanel;
class TbsSkinStdLabel;

// The main window: the camera's live preview, the last snapshot beside it, the photo folder and the buttons.
//
// Components are made in the order of the window's design, their properties set, references resolved (the graph's
// clients attach in the order VideoWindow, SampleGrabber, Filter) and end-of-loading run; then the creation handler
// connects the first camera and starts the preview.
class TfrmMain final : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The caption shown from the first show on: title － text 2 text 3 web address.
    static QString captionText();

    // The device operations; other codes do nothing.
    enum DeviceCommandCode : int {
        dcConnect = 1, // the chosen camera (else the one in use before, else the first) into the graph
        dcPreview = 3, // connect, then render its preview and run the graph
        dcStop = 5, // stop the graph
    };
    void DeviceCommand(int code);

    // Handlers, public so that tests can drive them as the user would.
    void bsSkinButton1Click(QObject *sender); // "浏览": open the photo folder
    void bsSkinButton2Click(QObject *sender); // "拍照(F8)": the snapshot
    void bsSkinButton3Click(QObject *sender); // "关闭"
    void bsSkinButton4Click(QObject *sender); // "关于"
    void bsSkinSpeedButton1Click(QObject *sender); // the folder chooser
    void edtsPathExit(QObject *sender);
    void edtsPathKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift);

    // The encoder step: the compressed image, or nothing when encoding failed.
    static std::optional<QByteArray> MakeJpeg(const TBitmap &bitmap, int quality);
    void PlayShutterSound();

    // The photo file the last snapshot stored (empty when it stored none).
    QString lastPhotoFile() const { return m_lastPhotoFile; }
    // Waits until the snapshots taken so far are stored, and tells their outcomes (a photo is stored beside the
    // window, and its outcome arrives through the event loop).
    void waitForPhotos();

    // Controls and components, by their design names.
    TbsSkinPanel *bsSkinPanel1 = nullptr;
    TbsSkinPanel *bsSkinPanel2 = nullptr;
    TbsSkinPanel *bsSkinPanel3 = nullptr;
    TbsSkinPanel *bsSkinPanel4 = nullptr;
    TbsSkinPanel *bsSkinPanel5 = nullptr;
    TBevel *Bevel1 = nullptr;
    TbsSkinStdLabel *bsSkinStdLabel1 = nullptr;
    TbsSkinSpeedButton *bsSkinSpeedButton1 = nullptr;
    TBevel *Bevel2 = nullptr;
    TbsSkinPanel *bsSkinPanel6 = nullptr;
    TVideoWindow *VideoWindow = nullptr;
    TbsSkinPanel *bsSkinPanel7 = nullptr;
    TImage *Image = nullptr;
    TbsSkinEdit *edtsPath = nullptr;
    TbsSkinButton *bsSkinButton1 = nullptr;
    TbsSkinButton *bsSkinButton2 = nullptr;
    TbsSkinButton *bsSkinButton3 = nullptr;
    TbsSkinButton *bsSkinButton4 = nullptr;
    TbsSkinCheckRadioBox *cbDelay = nullptr;
    TbsSkinStatusBar *bsSkinStatusBar1 = nullptr;
    TbsSkinStatusPanel *bsSkinStatusPanel1 = nullptr;
    TbsSkinStdLabel *lblCameraState = nullptr; // "摄像头已断开" over the preview while the camera is gone
    TbsSkinPopupMenu *pmCameras = nullptr; // the cameras, on a right click on the preview

    TFilterGraph *FilterGraph = nullptr;
    TSampleGrabber *SampleGrabber = nullptr;
    TFilter *Filter = nullptr;
    TFilterGraph *MusicGraph = nullptr;
    TbsSkinForm *bsSkinForm1 = nullptr;
    TbsSkinData *bsSkinData1 = nullptr;
    TbsCompressedStoredSkin *bsCompressedStoredSkin1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createComponents();
    void createControls();
    void FormCreate();
    void FormShow();
    void FormKeyDown(int key);
    void savePhotoPath();

    // What the shutter sound's chain was built from: the file's presence, size and time.
    struct SoundFileStamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        static SoundFileStamp of(const QString &file);
        bool operator==(const SoundFileStamp &other) const = default;
    };
    void prepareShutterSound(const SoundFileStamp &stamp);
    // Takes the newest frame, shows it and stores it beside the window.
    void takeSnapshot();
    // A snapshot's photo was stored, or not: the user is told, and hears the shutter; a snapshot that waited for it
    // is taken.
    void photoDone(const QString &stored, const std::exception_ptr &error);
    void tellPhotoOutcome(const QString &stored, const std::exception_ptr &error);
    // The camera in use vanished (the graph lost it or failed): stop once and say so over the preview.
    void cameraGone();
    // The graph failed: a camera that never sent a picture is reported with its name and the reason.
    void cameraFailed(const QString &graphError);
    // The camera's first picture is due: one that sent none is reported and given up.
    void firstFrameDue();
    bool frameSinceOpening() const;
    // The camera cannot be used: no photo, and the preview says so.
    void showCameraLost();
    // A lost camera that is still listed is started again after a wait that grows with each try.
    void scheduleCameraRetry();
    void retryCamera();
    void pictureBackDue();
    // The camera sends pictures again: the preview shows them and the next loss is tried again soon.
    void cameraRunning();
    // The system's cameras changed: start the preview on one that came back or appeared.
    void devicesChanged();
    void showCameraMenu(const QPoint &at);

public:
    // Uses the camera of that identity from now on, and at the next start.
    void chooseCamera(const QByteArray &identity);

private:
    void prepareShutterSoundAhead();
    void silenceShutterSound();

    std::unique_ptr<TSysDevEnum> m_devEnum;
    QString m_lastPhotoFile;
    const QEvent *m_previewedKey = nullptr; // the key press the window has seen and that still travels
    bool m_cameraLost = false; // the graph reported the camera gone since it was connected
    bool m_opening = false; // the camera was started and its first picture may still be on its way
    QElapsedTimer m_openedAt;
    QTimer *m_firstFrameWatch = nullptr;
    QTimer *m_cameraRetry = nullptr;
    QTimer *m_pictureBackWatch = nullptr;
    int m_retryDelayMs = 250;
    bool m_quietOpening = false; // the camera was started again by itself: a refusal is not told again
    bool m_shownOnce = false;
    bool m_freshConnection = false; // connected, and nothing rendered into the graph since
    QByteArray m_chosenCamera; // the camera the user chose (settings file), empty without a choice
    QByteArray m_cameraInUse; // the camera connected last, empty without one
    QString m_cameraInUseLabel; // how messages name it
    bool m_soundPrepared = false; // MusicGraph holds the chain of the file in m_soundStamp
    bool m_soundAtStart = false; // and it has not played yet
    SoundFileStamp m_soundStamp;
    bool m_closed = false;
    PhotoJobs *m_photos = nullptr; // encodes and stores the photos
    int m_snapshotsWaiting = 0; // asked for while a photo was being stored
};

extern QPointer<TfrmMain> frmMain;

// The open-folder glyph of the folder chooser button: normal and disabled 16 × 16 images side by side.
TBitmap folderGlyph();

} // namespace pixolo
