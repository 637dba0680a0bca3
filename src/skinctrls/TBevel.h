#pragma once

#include "skinctrls/ControlBase.h"

namespace pixolo
{

enum TBevelShape : int { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : int { bsLowered, bsRaised };

// The framework's bevel: a windowless box, etched frame or line in the button shadow and highlight colours.
class TBevel : public ControlBase<QWidget>
{
    Q_OBJECT
public:
    explicit TBevel(QWidget *parent = nullptr);

    TBevelShape Shape() const { return m_shape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return m_style; }
    void SetStyle(TBevelStyle value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TBevelShape m_shape = bsBox;
    TBevelStyle m_style = bsLowered;
};

} // namespace pixolo
