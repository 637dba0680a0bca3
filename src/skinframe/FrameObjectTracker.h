#pragma once

#include <Qt>

namespace pixolo
{

class TbsActiveSkinObject;
class TbsSkinForm;

// The frame objects and the mouse: which object is under it (hot), which one was pressed, the caption's state on
// activation, and the three timers' steps (the mouse followed while over the frame, morphing, animation).
class FrameObjectTracker final
{
public:
    explicit FrameObjectTracker(TbsSkinForm &form)
        : m_form(form)
    {
    }

    // Indexes into the form's object list, -1 when none.
    int HotObjectIndex() const { return m_hot; }
    int PressedObjectIndex() const { return m_pressed; }
    TbsActiveSkinObject *hotObject() const { return objectAt(m_hot); }
    TbsActiveSkinObject *pressedObject() const { return objectAt(m_pressed); }
    // No object is hot or pressed (the list is about to change, or a move or size takes the mouse).
    void forget();
    void forgetHotAndPressed()
    {
        m_hot = -1;
        m_pressed = -1;
    }
    void dropPressed() { m_pressed = -1; }

    void UpdateHotObject(int X, int Y, bool Track);
    void ResetObjectStates();
    void UpdateActivation(bool Animate);
    // The window changed its activation: objects start afresh unless a click on the frame brought it, whose
    // pressed object keeps its state.
    void activationChanged();
    void pressObject(Qt::MouseButton button, int X, int Y);
    void releaseObject(Qt::MouseButton button, int X, int Y);

    void MouseTimerTick();
    void MorphTimerTick();
    void AnimationTimerTick();
    void StartMorphTimer();
    void StartAnimationTimer();

private:
    TbsActiveSkinObject *objectAt(int index) const;

    TbsSkinForm &m_form;
    int m_hot = -1;
    int m_previousHot = -1;
    int m_pressed = -1;
};

} // namespace pixolo
