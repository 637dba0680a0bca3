#pragma once

#include <QEvent>
#include <QList>

class QObject;
class QWidget;

namespace pixolo
{

// The skin library's messages between a skinned menu, a skinned form and the controls that open menus. They travel
// as one custom event carrying the message number and two parameters, sent synchronously
// (QCoreApplication::sendEvent). A store's change notices are signals of TbsSkinData, not messages.
constexpr int SKIN_MSG_MENU_CLOSED = 1228; // the skinned menu a window or control opened has closed
constexpr int SKIN_MSG_MENU_COMMAND = 1229; // an item of that menu ran its command
constexpr int SKIN_MSG_PAINT_FRAME = 48203; // paint your frame into the painter in wParam …
constexpr int SKIN_PAINT_FRAME_PARAM = 16802; // … when lParam is this; the answer is this value too

class SkinMessageEvent final : public QEvent
{
public:
    SkinMessageEvent(int msg, void *wParam, qintptr lParam)
        : QEvent(eventType())
        , m_msg(msg)
        , m_wParam(wParam)
        , m_lParam(lParam)
    {
    }

    // The event type of every skin message, registered once.
    static QEvent::Type eventType();

    int Msg() const { return m_msg; }
    void *WParam() const { return m_wParam; }
    qintptr LParam() const { return m_lParam; }
    // What the receiver answers (0 unless it says otherwise).
    qintptr Result() const { return m_result; }
    void SetResult(qintptr result) { m_result = result; }

private:
    int m_msg;
    void *m_wParam;
    qintptr m_lParam;
    qintptr m_result = 0;
};

// Sends a skin message to one receiver at once and returns its answer.
qintptr sendSkinMessage(QObject *receiver, int msg, void *wParam, qintptr lParam);

// The application's skinned windows in the order they were first registered: the order in which a store's
// notices reach them after its own window. Registering twice keeps the first place; destroyed windows drop out by
// themselves.
void registerSkinWindow(QWidget *window);
QList<QWidget *> skinWindows();

} // namespace pixolo
