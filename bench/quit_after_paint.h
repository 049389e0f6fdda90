#pragma once
// Ends the event loop once `window` has painted itself the first time, so
// that launch-to-first-show includes the fonts and drawing.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

class QuitAfterPaint : public QObject {
public:
    explicit QuitAfterPaint(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};
