// The main window looks the same in every locale: with the fonts and rules of a usual desktop (which prefer another
// CJK font under a Chinese locale), the row of controls under the preview is drawn pixel for pixel alike under
// LANG=C.UTF-8 and LANG=zh_CN.UTF-8.
#include "DesktopSession.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace
{

constexpr QPoint kClientOrigin(15, 33);
// The path label, the path edit, the folder, browse and snapshot buttons, the delay box, "关闭" and "关于": the
// row at (11, 11) + (0, 268) of the client area, as wide as the content panel.
const QRect kControlsRow = QRect(0, 268, 707, 32).translated(11, 11);
// The label "照片存储路径:" within the row.
const QRect kPathLabel(16, 9, 75, 13);

class LocaleLookTest : public testing::Test
{
protected:
    // The controls row of the main window of a program started in `locale`; empty when it does not show.
    QImage controlsRow(DesktopSession &session, const char *locale, const QImage *previous = nullptr)
    {
        QFile ini(session.iniPath());
        if (!ini.open(QIODevice::WriteOnly) || ini.write("[Setup]\nPhotoPath=/tmp/\n") < 0) {
            return {};
        }
        ini.close();
        session.setEnv(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral(PIXOLO_DESKTOP_FONTCONFIG));
        session.setEnv(QStringLiteral("LANG"), QString::fromLatin1(locale));
        session.setEnv(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        session.setEnv(QStringLiteral("XDG_CONFIG_HOME"), session.tempPath()); // no user's font settings
        QProcess *program = session.startProgram();
        const QString window = session.waitForMainWindow(program);
        if (window.isEmpty()) {
            return {};
        }
        session.mouseTo(QPoint(0, 0)); // away from every control
        const QRect row = kControlsRow.translated(session.windowGeometry(window).topLeft() + kClientOrigin);
        // The first picture that two screenshots in a row agree on (the window may still be painting); with
        // `previous`, the first that equals it.
        QImage shot;
        QImage last;
        DesktopSession::waitUntil(
            [&] {
                shot = session.screenshot().copy(row);
                const bool done = previous ? shot == *previous : (shot == last && !shot.isNull());
                last = shot;
                return done;
            },
            5000);
        return shot;
    }
};

TEST_F(LocaleLookTest, ControlsRowIsTheSameUnderTheCAndTheChineseLocale)
{
    DesktopSession c;
    ASSERT_TRUE(c.ok()) << "Xvfb did not start";
    const QImage inC = controlsRow(c, "C.UTF-8");
    ASSERT_FALSE(inC.isNull());
    // The row holds text at all: the label is drawn, not only its background.
    const QImage label = inC.copy(kPathLabel);
    QSet<QRgb> colours;
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x) {
            colours.insert(label.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 2);

    DesktopSession zh;
    ASSERT_TRUE(zh.ok()) << "Xvfb did not start";
    const QImage inChinese = controlsRow(zh, "zh_CN.UTF-8", &inC);
    ASSERT_EQ(inChinese.size(), inC.size());
    QRect differing;
    for (int y = 0; y < inC.height(); ++y) {
        for (int x = 0; x < inC.width(); ++x) {
            if (inChinese.pixel(x, y) != inC.pixel(x, y)) {
                differing |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_TRUE(differing.isNull()) << "the rows differ within " << testing::PrintToString(differing);
}

} // namespace
