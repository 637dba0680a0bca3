#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace pixolo
{

// Every message box of the program goes through here, so tests can record the messages instead of showing them.
namespace MessageBox
{

enum Icon { NoIcon, Information, Warning, Error };

struct Message {
    QString text;
    QString caption;
    Icon icon = NoIcon;
    bool boxed = true; // false for a report that is only written down (see report)
};

// Shows a modal box with an OK button and waits until it is dismissed. The text is also written to standard error,
// prefixed with "pixolo: ", so that a run without anyone at the screen still says what happened. Called on another
// thread than the application's (a streaming thread of the media layer), the box is shown on the application's
// thread as soon as it gets there and the call returns at once: no other thread ever waits for a click.
void show(const QString &text, const QString &caption, Icon icon = NoIcon, QWidget *parent = nullptr);

// A failure where no box may wait for a click (a destructor, the program's end, an error repeated every frame): it is
// written to standard error like a box's text and handed to the test handler, but nothing is shown. Any thread.
void report(const QString &text, const QString &caption) noexcept;

// Replaces the box for tests; an empty handler brings the real box back. The handler runs on the application's
// thread (or the caller's, when there is no application object).
using Handler = std::function<void(const Message &)>;
void setHandler(Handler handler);

} // namespace MessageBox

} // namespace pixolo
