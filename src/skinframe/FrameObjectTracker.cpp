#include "skinframe/FrameObjectTracker.h"

#include "skinframe/FrameEventFilter.h"
#include "skinframe/TbsSkinForm.h"

#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace pixolo
{

TbsActiveSkinObject *FrameObjectTracker::objectAt(int index) const
{
    const auto &objects = m_form.ObjectList();
    return index >= 0 && index < int(objects.size()) ? objects[size_t(index)].get() : nullptr;
}

void FrameObjectTracker::forget()
{
    m_hot = -1;
    m_previousHot = -1;
    m_pressed = -1;
}

void FrameObjectTracker::UpdateActivation(bool Animate)
{
    const bool active = m_form.IsFormActive();
    for (const auto &object : m_form.ObjectList()) {
        auto *caption = dynamic_cast<TbsSkinCaptionObject *>(object.get());
        if (!caption || caption->ActiveState == active) {
            continue;
        }
        caption->ActiveState = active;
        if (Animate) {
            if (caption->AnimationInEffect()) {
                caption->AnimationTime = 25;
                caption->AnimationFrame = active ? 1 : (caption->inactiveanimation ? caption->framecount : 0);
                StartAnimationTimer();
            }
            m_form.Form()->update();
            if (caption->MorphingInEffect()) {
                StartMorphTimer();
            }
        } else if (caption->MorphingInEffect()) {
            caption->MorphFactor = active ? 1 : 0;
        }
        break;
    }
    if (active) {
        if (m_form.OnActivate) {
            m_form.OnActivate();
        }
    } else if (m_form.OnDeActivate) {
        m_form.OnDeActivate();
    }
}

void FrameObjectTracker::activationChanged()
{
    // An activation that a click on the frame brought arrives after the press: the pressed object keeps its state.
    // Otherwise every object starts afresh, and the next mouse position makes one hot again.
    if (m_pressed == -1) {
        ResetObjectStates();
        m_hot = -1;
        m_previousHot = -1;
    }
    UpdateActivation(m_form.BorderStyle() != bsNone); // a window without border has no caption to animate
}

void FrameObjectTracker::ResetObjectStates()
{
    for (const auto &object : m_form.ObjectList()) {
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get())) {
            animate->MouseOver = false;
            animate->ActiveState = false;
            animate->CurrentFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            object->ActiveState = false;
            object->MouseOver = false;
            object->MorphFactor = 0;
        }
    }
}

void FrameObjectTracker::UpdateHotObject(int X, int Y, bool Track)
{
    const auto &objects = m_form.ObjectList();
    if (objects.empty() || !m_form.IsFormActive()) {
        return;
    }
    m_previousHot = m_hot;
    int found = -1;
    for (size_t i = 0; i < objects.size(); ++i) {
        const auto &o = objects[i];
        if (o->ObjectEnabled && o->ObjectVisible && pointInRect(o->ObjectRect, { X, Y })) {
            found = int(i);
            break;
        }
    }
    int hot = Track && found >= 0 ? found : -1;
    if (m_pressed != -1 && m_pressed != hot) {
        hot = -1;
    }
    if (hot >= int(objects.size())) {
        hot = -1;
    }
    m_hot = hot;
    if (m_hot == m_previousHot) {
        return;
    }
    const auto usable = [this](int index) {
        const TbsActiveSkinObject *object = objectAt(index);
        return object && object->ObjectEnabled && object->ObjectVisible;
    };
    const int previous = m_previousHot;
    if (usable(previous)) {
        objects[size_t(previous)]->MouseLeave();
    }
    if (usable(hot) && m_hot == hot) {
        objects[size_t(hot)]->MouseEnter();
    }
}

void FrameObjectTracker::pressObject(Qt::MouseButton button, int X, int Y)
{
    TbsActiveSkinObject *object = hotObject();
    if (!object) {
        return;
    }
    m_pressed = m_hot;
    object->MouseDown(X, Y, button);
}

void FrameObjectTracker::releaseObject(Qt::MouseButton button, int X, int Y)
{
    TbsActiveSkinObject *object = pressedObject();
    if (!object) {
        m_pressed = -1;
        return;
    }
    const QPointer<TbsSkinForm> self(&m_form);
    object->MouseUp(X, Y, button); // a command may close, resize or reskin the window
    if (self) {
        m_pressed = -1;
    }
}

void FrameObjectTracker::MouseTimerTick()
{
    if (!m_form.IsFormActive()) {
        return;
    }
    if (m_form.events().sizingLoop()) {
        m_form.m_mouseTimer->stop();
        return;
    }
    m_form.trackPoint(m_form.layout().ScreenToWindow(QCursor::pos()));
}

void FrameObjectTracker::MorphTimerTick()
{
    bool stepped = false;
    for (const auto &object : m_form.ObjectList()) {
        if (object->MorphingInEffect() && object->NeedsMorphStep()) {
            object->MorphStep();
            stepped = true;
        }
    }
    if (!stepped) {
        m_form.m_morphTimer->stop();
    }
}

void FrameObjectTracker::AnimationTimerTick()
{
    bool ran = false;
    for (const auto &object : m_form.ObjectList()) {
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get())) {
            if (animate->ActiveState && (!animate->Pressed || IsNullRect(animate->downskinrect))) {
                animate->AnimationStep();
                ran = true;
            }
        } else if (auto *caption = dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            ran = caption->AnimationStep() || ran;
        }
    }
    if (!ran) {
        m_form.m_animationTimer->stop();
    }
}

void FrameObjectTracker::StartMorphTimer()
{
    if (!m_form.m_morphTimer->isActive()) {
        m_form.m_morphTimer->start();
    }
}

void FrameObjectTracker::StartAnimationTimer()
{
    if (!m_form.m_animationTimer->isActive()) {
        m_form.m_animationTimer->start();
    }
}

} // namespace pixolo
