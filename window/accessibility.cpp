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

// A control of no size that assistive technology sees as a notification
// named by the last announcement, shown anew with each one: a screen reader
// says a notification that shows wherever the focus is.
constexpr QLatin1String noticeName("announcement");

QWidget* noticeOf(QWidget* window)
{
    auto* notice = window->findChild<QWidget*>(noticeName, Qt::FindDirectChildrenOnly);
    if (!notice) {
        notice = new QWidget(window);
        notice->setObjectName(noticeName);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setFixedSize(0, 0);
    }
    return notice;
}

QAccessibleInterface* visualOrderFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->objectName() == noticeName)
        return new QAccessibleWidget(widget, QAccessible::Notification);
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
    QAccessibleValueChangeEvent event(control, value);
    tellAssistiveTechnology(event);
    // Qt's AT-SPI bridge drops a value change on a text box, and a screen
    // reader says a text change only in the box that has the focus: the
    // value is also said by a notification that shows.
    QWidget* notice = noticeOf(control->window());
    notice->setAccessibleName(value);
    notice->hide();
    notice->show(); // tells assistive technology
}

void watchAnnouncements(AnnouncementWatcher watcher) { announcementWatcher = watcher; }
