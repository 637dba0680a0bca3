#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace pixolo {

// Every message box of the program goes through here, so tests can record the messages instead of showing them.
namespace MessageBox {

enum Icon { NoIcon, Information, Warning, Error };

struct Message {
    QString text;
    QString caption;
    Icon icon = NoIcon;
};

// Shows a modal box with an OK button and waits until it is dismissed. The text is also written to standard error,
// prefixed with "pixolo: ", so that a run without anyone at the screen still says what happened.
void show(const QString &text, const QString &caption, Icon icon = NoIcon, QWidget *parent = nullptr);

// Replaces the box for tests; an empty handler brings the real box back.
using Handler = std::function<void(const Message &)>;
void setHandler(Handler handler);

} // namespace MessageBox

} // namespace pixolo
