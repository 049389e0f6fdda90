#include "window/accessibility.h"

#include <QAccessibleWidget>
#include <QGroupBox>

#include <algorithm>

namespace {

// A container whose accessible children are its child controls sorted by
// position.
class VisualOrderAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return int(controls().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> list = controls();
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(controls().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> controls() const
    {
        QList<QWidget*> list;
        for (QObject* o : widget()->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
                list << w;
        std::stable_sort(list.begin(), list.end(), [](const QWidget* a, const QWidget* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        return list;
    }
};

AnnouncementWatcher announcementWatcher = nullptr;

QAccessibleInterface* visualOrderFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->objectName() == QLatin1String("Form1"))
        return new VisualOrderAccessible(widget, QAccessible::Window);
    if (qobject_cast<QGroupBox*>(widget) && widget->objectName().startsWith(QLatin1String("Frame")))
        return new VisualOrderAccessible(widget, QAccessible::Grouping);
    return nullptr;
}

} // namespace

void installVisualOrderAccessibility()
{
    static const bool installed = (QAccessible::installFactory(visualOrderFactory), true);
    (void)installed;
}

namespace {

void tellAssistiveTechnology(QAccessibleEvent& event)
{
    if (announcementWatcher)
        announcementWatcher(event);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void announceNewValue(QWidget* control, const QString& value)
{
    // Qt's AT-SPI bridge drops a value change on a text box: there the
    // box's own text-changed event carries the new text, and from Qt 6.8 on
    // an announcement has the screen reader say it wherever the focus is.
    QAccessibleValueChangeEvent event(control, value);
    tellAssistiveTechnology(event);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(control, value);
    tellAssistiveTechnology(announcement);
#endif
}

void watchAnnouncements(AnnouncementWatcher watcher) { announcementWatcher = watcher; }
