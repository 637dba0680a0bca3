#include "app/PixoloApplication.h"

#include "platform/MessageBox.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>
#include <memory>

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
    loadQtTranslations(QLocale::system());
}

bool PixoloApplication::loadQtTranslations(const QLocale &locale)
{
    // One translator at a time: a second call (tests) replaces the first's.
    static QTranslator *s_translator = nullptr;
    if (s_translator) {
        removeTranslator(s_translator);
        delete s_translator;
        s_translator = nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    // "qt_" loads the catalogue of every Qt module there is a translation of (qtbase among them).
    if (!translator->load(
            locale, QStringLiteral("qt"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    s_translator = translator.release();
    installTranslator(s_translator);
    return true;
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
