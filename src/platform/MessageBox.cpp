#include "platform/MessageBox.h"

#include <QMessageBox>

#include <cstdio>

namespace pixolo::MessageBox {

namespace {

Handler &handler()
{
    static Handler s_handler;
    return s_handler;
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Information:
        return QMessageBox::Information;
    case Warning:
        return QMessageBox::Warning;
    case Error:
        return QMessageBox::Critical;
    case NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void show(const QString &text, const QString &caption, Icon icon, QWidget *parent)
{
    std::fprintf(stderr, "pixolo: %s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
    if (handler()) {
        handler()({text, caption, icon});
        return;
    }
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}

} // namespace pixolo::MessageBox
