#pragma once

#include <QApplication>

class QLocale;

namespace pixolo
{

// The application object. An exception that escapes an event handler is caught here and its message shown in a
// message box, after which the program goes on: the default error handler of every window.
class PixoloApplication final : public QApplication
{
    Q_OBJECT
public:
    PixoloApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    static void showException(const std::exception &error);

    // Loads Qt's own translations (its boxes' buttons, the folder chooser) for the language of `locale`, from
    // where Qt keeps them; whether any was found. English needs none.
    static bool loadQtTranslations(const QLocale &locale);
};

} // namespace pixolo
