#include "skinframe/TbsSkinMenuItem.h"

#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace pixolo
{

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow *window, QAction *action)
    : m_window(window)
    , m_action(action)
{
}

bool TbsSkinMenuItem::IsSeparator() const
{
    return !m_action || m_action->isSeparator() || m_action->text() == QLatin1String("-");
}

bool TbsSkinMenuItem::Enabled() const
{
    return m_action && m_action->isEnabled();
}

QMenu *TbsSkinMenuItem::Children() const
{
    return m_action ? m_action->menu() : nullptr;
}

bool TbsSkinMenuItem::HasChildren() const
{
    const QMenu *children = Children();
    if (!children) {
        return false;
    }
    const QList<QAction *> actions = children->actions();
    return std::any_of(actions.begin(), actions.end(), [](const QAction *a) { return a->isVisible(); });
}

QString TbsSkinMenuItem::Caption() const
{
    return m_action ? m_action->text() : QString();
}

QString TbsSkinMenuItem::ShortCutText() const
{
    return m_action ? m_action->shortcut().toString(QKeySequence::PortableText) : QString();
}

QChar TbsSkinMenuItem::Accelerator() const
{
    const QString caption = Caption();
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            continue;
        }
        if (caption.at(i + 1) == QLatin1Char('&')) {
            ++i; // "&&" is a plain '&'
            continue;
        }
        return caption.at(i + 1).toLower();
    }
    return QChar();
}

void TbsSkinMenuItem::Activate(bool ByKey)
{
    Active = true;
    if (m_window->animationInEffect()) {
        AnimationFrame = 0;
    }
    for (const auto &other : m_window->m_items) {
        if (other.get() != this && other->Down) {
            other->Down = false;
            other->Redraw();
        }
    }
    if (Waiting && !ByKey) {
        Redraw();
        return;
    }
    TbsSkinMenu *menu = m_window->Menu();
    if (Down) {
        // Its submenu is open: only the levels below that one close.
        menu->CloseLevels(menu->LevelOf(m_window) + 2);
        return;
    }
    Redraw();
    menu->ItemAction(m_window, this, ByKey, false);
}

void TbsSkinMenuItem::Deactivate()
{
    Active = false;
    if (m_window->animationInEffect() && m_window->m_entry) {
        AnimationFrame = m_window->m_entry->framecount + 1;
    }
    Waiting = false;
    if (!Down) {
        Redraw();
    }
    TbsSkinMenu *menu = m_window->Menu();
    if (menu->WaitItem() == this) {
        // Leaving the item before its submenu opened cancels the opening.
        menu->CancelWaitItem();
    }
}

void TbsSkinMenuItem::Click()
{
    Waiting = false;
    if (!Down && Enabled()) {
        m_window->Menu()->ItemAction(m_window, this, false, true);
    }
}

void TbsSkinMenuItem::SetUp()
{
    if (Down) {
        Down = false;
        Redraw();
    }
}

void TbsSkinMenuItem::Redraw()
{
    TbsSkinPopupWindow *w = m_window;
    if (w->animationInEffect()) {
        if (w->m_entry->inactiveanimation || Active) {
            w->m_effectTimer->setInterval(std::max(1, w->m_entry->animateinterval));
            w->startEffects();
            return;
        }
        AnimationFrame = 0;
    } else if (w->morphInEffect()) {
        w->m_effectTimer->setInterval(TbsSkinPopupWindow::s_effectIntervalMs);
        w->startEffects();
        return;
    }
    if (Visible) {
        w->update(toQRect(ItemRect));
    }
}

} // namespace pixolo
