#include "skinctrls/ControlBase.h"

#include <QPointer>

#include <algorithm>
#include <climits>
#include <vector>

namespace pixolo
{

namespace
{

ControlCore *controlOf(QObject *object)
{
    return dynamic_cast<ControlCore *>(object);
}

// Docks the children of a parent that keeps no docking area of its own, whenever it is resized.
class AlignWatcher final : public QObject
{
public:
    explicit AlignWatcher(QWidget *parent)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("pixolo-align-watcher"));
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize) {
            auto *widget = static_cast<QWidget *>(watched);
            AlignControls(widget, widget->rect());
        }
        return false;
    }
};

// Whether `a` goes before `b` among the controls docked to the same side.
bool docksBefore(const QWidget *a, const QWidget *b, TAlign align)
{
    switch (align) {
    case alTop:
        return a->y() < b->y();
    case alBottom:
        return a->y() + a->height() > b->y() + b->height();
    case alLeft:
        return a->x() < b->x();
    case alRight:
        return a->x() + a->width() > b->x() + b->width();
    default:
        return false;
    }
}

} // namespace

void AlignControls(QWidget *parent, const QRect &area, QWidget *first)
{
    // Docking moves children, which may resize grandchildren; a parent is never docked twice at once.
    static std::vector<QPointer<QWidget>> s_busy;
    if (!parent || std::find(s_busy.begin(), s_busy.end(), parent) != s_busy.end()) {
        return;
    }
    s_busy.emplace_back(parent);
    QRect rest = area;
    for (const TAlign align : { alTop, alBottom, alLeft, alRight, alClient }) {
        std::vector<QWidget *> docked;
        for (QObject *child : parent->children()) {
            ControlCore *control = controlOf(child);
            if (!control || control->Align() != align || control->widget()->isHidden()) {
                continue;
            }
            QWidget *widget = control->widget();
            if (widget == first) {
                docked.insert(docked.begin(), widget);
                continue;
            }
            auto at = docked.begin();
            if (!docked.empty() && docked.front() == first) {
                ++at;
            }
            while (at != docked.end() && !docksBefore(widget, *at, align)) {
                ++at;
            }
            docked.insert(at, widget);
        }
        for (QWidget *widget : docked) {
            ControlCore *control = controlOf(widget);
            const int width = std::max(rest.width(), 0);
            const int height = std::max(rest.height(), 0);
            switch (align) {
            case alTop:
                control->SetBounds(rest.left(), rest.top(), width, widget->height());
                rest.setTop(rest.top() + widget->height());
                break;
            case alBottom:
                control->SetBounds(rest.left(), rest.top() + height - widget->height(), width, widget->height());
                rest.setBottom(rest.bottom() - widget->height());
                break;
            case alLeft:
                control->SetBounds(rest.left(), rest.top(), widget->width(), height);
                rest.setLeft(rest.left() + widget->width());
                break;
            case alRight:
                control->SetBounds(rest.left() + width - widget->width(), rest.top(), widget->width(), height);
                rest.setRight(rest.right() - widget->width());
                break;
            default:
                control->SetBounds(rest.left(), rest.top(), width, height);
                break;
            }
        }
    }
    s_busy.erase(std::find(s_busy.begin(), s_busy.end(), parent));
}

void ControlCore::SetAlign(TAlign value)
{
    if (m_align == value) {
        return;
    }
    m_align = value;
    realignParent(widget());
}

void ControlCore::realignParent(QWidget *first)
{
    QWidget *self = widget();
    QWidget *parent = self->parentWidget();
    if (!parent || m_align == alNone) {
        return;
    }
    if (auto *container = dynamic_cast<AlignContainer *>(parent)) {
        container->Realign(first);
        return;
    }
    if (!parent->findChild<AlignWatcher *>(QStringLiteral("pixolo-align-watcher"), Qt::FindDirectChildrenOnly)) {
        new AlignWatcher(parent);
    }
    AlignControls(parent, parent->rect(), first);
}

void ControlCore::SetTabOrder(int value)
{
    QWidget *self = widget();
    QWidget *parent = self->parentWidget();
    if (m_windowless || !parent) {
        m_tabOrder = value;
        return;
    }
    // The windowed siblings in their present order: numbered ones first by number, the rest in creation order.
    std::vector<ControlCore *> order;
    for (QObject *child : parent->children()) {
        ControlCore *control = controlOf(child);
        if (control && control != this && !control->m_windowless) {
            order.push_back(control);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const ControlCore *a, const ControlCore *b) {
        const auto key = [](const ControlCore *c) { return c->m_tabOrder < 0 ? INT_MAX : c->m_tabOrder; };
        return key(a) < key(b);
    });
    const auto position = std::clamp<std::ptrdiff_t>(value, 0, std::ptrdiff_t(order.size()));
    order.insert(order.begin() + position, this);
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i]->m_tabOrder = int(i);
        if (i > 0) {
            QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
        }
    }
}

void ControlCore::SetHint(const QString &value)
{
    m_hint = value;
    updateToolTip();
}

void ControlCore::SetShowHint(bool value)
{
    m_showHint = value;
    updateToolTip();
}

void ControlCore::updateToolTip()
{
    widget()->setToolTip(m_showHint ? m_hint : QString());
}

void ControlCore::SetBounds(int left, int top, int width, int height)
{
    widget()->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    // The geometry events of a hidden control wait for its showing; docking follows at once.
    realignParent();
}

} // namespace pixolo
