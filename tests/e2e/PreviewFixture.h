#pragma once

#include "DesktopSession.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// The whole program with a camera, seen as a person sees it: the live preview in the main window, the right-click
// menu of cameras, what the program says, the photos it stores. Each test has its own session and photo folder.
class PreviewFixture : public testing::Test
{
protected:
    // The preview inside the main window: client origin, content panel, preview panel, its frame.
    static constexpr QRect kPreview = QRect(15 + 11 + 22 + 3, 33 + 11 + 12 + 3, 320, 240);
    // The height of one item of the skin's popup menu.
    static constexpr int kMenuItemHeight = 22;

    void SetUp() override;

    // Starts the program and waits up to `windowTimeoutMs` for its main window. Message boxes shown before it (no
    // camera) are left in `startBoxes`, read into `startText` and dismissed.
    void start(bool expectCamera = true, int windowTimeoutMs = 15000);
    void stop();

    QImage preview();
    // Whether the preview changes within a second and a half.
    bool previewMoves();
    // The disconnected state: a black preview with the white words in the middle and nothing else.
    bool showsDisconnected();
    // Opens the preview's right-click menu; its window, or empty when none opened.
    QString openPreviewMenu();
    // Opens that menu, checks that it offers two cameras (one line each, and its frame) and takes the second with
    // the keyboard; fails the test when the menu does not open or close.
    void chooseSecondCamera();

    // Presses F8 where there is no picture: the program must say so on standard error and in a box (dismissed
    // here) and store nothing. Fails the test otherwise.
    void expectSnapshotRefused();

    // What the program wrote on standard error since last asked.
    QString said();
    QStringList photoFiles() const;
    // A stored photo's size as "width height".
    QString photoSize(const QString &file);

    DesktopSession session;
    QString photos;
    QProcess *program = nullptr;
    QString mainWindow;
    QPoint origin;
    QStringList startBoxes;
    QString startText;
};
