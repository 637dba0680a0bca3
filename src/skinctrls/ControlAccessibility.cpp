#include "skinctrls/ControlAccessibility.h"

#include "skin/AccessibilityEvents.h"
#include "skin/SkinText.h"
#include "skinctrls/TImage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QAccessibleWidget>
#include <QString>
#include <QStringList>

namespace pixolo
{

namespace
{

// A label that runs a command when clicked reads as a link.
bool isLink(const TbsSkinLabel *label)
{
    return label->OnClick != nullptr;
}

// One interface for every skinned control: what differs between them is read from the control when asked, so the
// interface stays right when the control's caption, hint or state changes.
class ControlAccessible final : public QAccessibleWidget
{
public:
    ControlAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        QString value;
        if (t == QAccessible::Name) {
            value = widget()->accessibleName();
            if (value.isEmpty()) {
                value = captionOf(widget());
            }
        } else if (t == QAccessible::Description) {
            value = widget()->accessibleDescription();
            if (value.isEmpty()) {
                if (const auto *core = dynamic_cast<const ControlCore *>(widget())) {
                    value = core->Hint();
                }
            }
        }
        return value.isEmpty() ? QAccessibleWidget::text(t) : value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const QWidget *w = widget();
        if (const auto *button = qobject_cast<const SkinButtonControl *>(w)) {
            s.pressed = button->Down() || button->Pressed();
            if (button->GroupIndex() != 0) {
                s.checkable = true;
                s.checked = button->Down();
                s.pressed = button->Pressed();
            }
            if (const auto *push = qobject_cast<const TbsSkinButton *>(w)) {
                s.defaultButton = push->Default();
            }
        } else if (const auto *box = qobject_cast<const TbsSkinCheckRadioBox *>(w)) {
            s.checkable = true;
            s.checked = box->State() == cbChecked;
            s.checkStateMixed = box->State() == cbGrayed;
        } else if (const auto *panel = qobject_cast<const TbsSkinPanel *>(w)) {
            if (panel->CheckedMode()) {
                s.checkable = true;
                s.checked = panel->Checked();
            }
        } else if (const auto *label = qobject_cast<const TbsSkinLabel *>(w); label && isLink(label)) {
            s.linked = true;
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled()) {
            if (qobject_cast<const TbsSkinCheckRadioBox *>(widget())) {
                names << toggleAction();
            } else if (qobject_cast<const SkinButtonControl *>(widget()) || linkLabel()) {
                names << pressAction();
            }
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        QWidget *w = widget();
        if (!w->isEnabled()) {
            return;
        }
        if (name == toggleAction()) {
            if (auto *box = qobject_cast<TbsSkinCheckRadioBox *>(w)) {
                box->Toggle();
            }
        } else if (name == pressAction()) {
            if (auto *button = qobject_cast<SkinButtonControl *>(w)) {
                button->Click();
            } else if (TbsSkinLabel *label = linkLabel()) {
                label->Click();
            }
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    TbsSkinLabel *linkLabel() const
    {
        auto *label = qobject_cast<TbsSkinLabel *>(widget());
        return label && isLink(label) ? label : nullptr;
    }

    static QString captionOf(const QWidget *w)
    {
        if (const auto *std = qobject_cast<const TbsSkinStdLabel *>(w)) {
            // A label that shows '&' as it is is read as it is.
            return std->ShowAccelChar() ? accessibleCaption(std->Caption()) : std->Caption();
        }
        if (const auto *control = dynamic_cast<const ControlBase<QWidget> *>(w)) {
            return accessibleCaption(control->Caption());
        }
        return {};
    }
};

QAccessible::Role roleOf(QObject *object)
{
    // Most derived first: a status bar is a panel, a status panel a label.
    if (qobject_cast<SkinButtonControl *>(object)) {
        return QAccessible::Button;
    }
    if (auto *box = qobject_cast<TbsSkinCheckRadioBox *>(object)) {
        return box->Radio() ? QAccessible::RadioButton : QAccessible::CheckBox;
    }
    if (qobject_cast<TbsSkinStatusBar *>(object)) {
        return QAccessible::StatusBar;
    }
    if (auto *panel = qobject_cast<TbsSkinPanel *>(object)) {
        return panel->CaptionMode() ? QAccessible::Grouping : QAccessible::Pane;
    }
    if (qobject_cast<TbsSkinStatusPanel *>(object) || qobject_cast<TbsSkinStdLabel *>(object)) {
        return QAccessible::StaticText;
    }
    if (auto *label = qobject_cast<TbsSkinLabel *>(object)) {
        return isLink(label) ? QAccessible::Link : QAccessible::StaticText;
    }
    if (qobject_cast<TImage *>(object)) {
        return QAccessible::Graphic;
    }
    return QAccessible::NoRole;
}

QAccessibleInterface *controlFactory(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType()) {
        return nullptr;
    }
    const QAccessible::Role role = roleOf(object);
    if (role == QAccessible::NoRole) {
        return nullptr;
    }
    return new ControlAccessible(static_cast<QWidget *>(object), role);
}

} // namespace

void installControlAccessibility()
{
    // The framework keeps a factory once however often it is installed.
    QAccessible::installFactory(controlFactory);
}

void notifyNameChanged(QObject *control)
{
    QAccessibleEvent event(control, QAccessible::NameChanged);
    notifyAccessibility(event);
}

void notifyStateChanged(QObject *control, const QAccessible::State &changed)
{
    QAccessibleStateChangeEvent event(control, changed);
    notifyAccessibility(event);
}

} // namespace pixolo
