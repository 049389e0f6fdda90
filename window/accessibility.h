#pragma once
// What assistive technology sees of the window: its controls in the order
// they stand on the screen, top to bottom and left to right, whatever the
// order the window created them in.

// Installs the accessibility factory that does this for the window and its
// frames.  Safe to call more than once.
void installVisualOrderAccessibility();

class QAccessibleEvent;
class QString;
class QWidget;

// Tells assistive technology that a control shows a new value, and has a
// screen reader say it wherever the focus is: a notification of no size in
// the control's window shows with the value.
void announceNewValue(QWidget* control, const QString& value);

// Sees each announcement before assistive technology does; for tests,
// since Qt drops the events where no screen reader listens.  nullptr
// stops it.
using AnnouncementWatcher = void (*)(const QAccessibleEvent& event);
void watchAnnouncements(AnnouncementWatcher watcher);
