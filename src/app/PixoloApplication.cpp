#include "app/PixoloApplication.h"

#include "platform/MessageBox.h"

#include <exception>

namespace pixolo
{

PixoloApplication::PixoloApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Pixolo"));
    // The desktop entry the windows belong to (its name less ".desktop"), for docks and task bars.
    setDesktopFileName(QStringLiteral("com.example.Pixolo"));
    // The main window's close ends the program, whether or not the About window is open.
    setQuitOnLastWindowClosed(false);
}

bool PixoloApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showException(error);
    } catch (...) {
        showException(std::runtime_error("Unknown error"));
    }
    return false;
}

void PixoloApplication::showException(const std::exception &error)
{
    MessageBox::show(QString::fromUtf8(error.what()), applicationName(), MessageBox::Error);
}

} // namespace pixolo
