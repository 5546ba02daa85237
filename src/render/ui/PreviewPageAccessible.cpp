#include "render/ui/PreviewPageAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include "render/ui/PreviewPageView.h"

namespace cw {

namespace {

// One thing of the page: a child without a widget of its own, found again by
// what it is, since the boxes are replaced on every drawing.
class PartAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PartAccessible(PreviewPageView *view, const PagePart &part)
        : m_view(view)
        , m_part(part)
    { }

    bool isValid() const override { return m_view && index() >= 0; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_view ? m_view->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !m_view || !m_view->editable())
            return QString();
        return partName(m_view->editingDocument(), m_part);
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const int i = index();
        if (i < 0)
            return QRect();
        const QRect r = m_view->toWidget(m_view->boxes()[i].bounds);
        return QRect(m_view->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        const bool selected = m_view && m_view->selectedIndex() == index() && index() >= 0;
        s.focused = selected && m_view->hasFocus();
        s.selected = selected;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return { setFocusAction() }; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name != setFocusAction() || !m_view)
            return;
        m_view->setFocus(Qt::OtherFocusReason);
        m_view->select(index());
    }

    int index() const { return m_view ? findPart(m_view->boxes(), m_part) : -1; }

private:
    QPointer<PreviewPageView> m_view;
    PagePart m_part;
};

class PageAccessible : public QAccessibleWidget
{
public:
    explicit PageAccessible(PreviewPageView *view)
        : QAccessibleWidget(view, QAccessible::Graphic)
    { }

    PreviewPageView *view() const { return static_cast<PreviewPageView *>(widget()); }

    int childCount() const override { return int(view()->boxes().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<int> order = readingOrder(view()->boxes());
        if (index < 0 || index >= order.size())
            return nullptr;
        const PagePart &part = view()->boxes()[order[index]].part;
        // One interface per thing, kept while the view lives.
        for (QAccessible::Id id : m_children) {
            auto *c = static_cast<PartAccessible *>(QAccessible::accessibleInterface(id));
            if (c && c->index() >= 0 && view()->boxes()[c->index()].part.sameThing(part))
                return c;
        }
        auto *c = new PartAccessible(view(), part);
        m_children.append(QAccessible::registerAccessibleInterface(c));
        return c;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QAccessibleInterface *focusChild() const override
    {
        const int selected = view()->selectedIndex();
        if (selected < 0)
            return nullptr;
        return child(int(readingOrder(view()->boxes()).indexOf(selected)));
    }
    ~PageAccessible() override
    {
        for (QAccessible::Id id : m_children)
            QAccessible::deleteAccessibleInterface(id);
    }

private:
    mutable QList<QAccessible::Id> m_children;
};

} // namespace

QAccessibleInterface *previewPageAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("cw::PreviewPageView"))
        if (auto *view = qobject_cast<PreviewPageView *>(object))
            return new PageAccessible(view);
    return nullptr;
}

} // namespace cw
