// Event dispatch: gestures to the pinch zoom, timer ticks to the game loop, pointer moves to
// hover and drag tracking. Key releases are swallowed.

#include "app/ViewArea.h"

#include "app/PinchZoom.h"
#include "app/PointerTracking.h"
#include "app/WindowState.h"

#include <QGestureEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QTimerEvent>

bool ViewArea::event(QEvent *event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent *>(event));
    return QWidget::event(event);
}

bool ViewArea::gestureEvent(QGestureEvent *event)
{
    if (QGesture *pinch = event->gesture(Qt::PinchGesture))
        handlePinchGesture(static_cast<QPinchGesture *>(pinch));
    return true;
}

void ViewArea::handlePinchGesture(QPinchGesture *gesture)
{
    const bool scaleChanged = gesture->changeFlags() & QPinchGesture::ScaleFactorChanged;
    const double scale = gesture->property("scaleFactor").toReal();
    PinchPhase phase = PinchPhase::Updating;
    if (gesture->state() == Qt::GestureFinished)
        phase = PinchPhase::Finished;
    else if (gesture->state() == Qt::GestureCanceled)
        phase = PinchPhase::Canceled;
    if (applyPinchUpdate(scaleChanged, scale, phase))
        update();
}

void ViewArea::keyReleaseEvent(QKeyEvent *)
{
    // Deliberately empty: no key does anything in the game.
}

void ViewArea::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == gameTimer.timerId())
        gameTick();
    else
        QMainWindow::timerEvent(event);
}

void ViewArea::mouseMoveEvent(QMouseEvent *event)
{
    const int x = qRound(event->localPos().x());
    const int y = qRound(event->localPos().y());
    if (event->buttons() & Qt::LeftButton) {
        if (trackDrag(x, y))
            update();
        return;
    }
    if (event->type() == QEvent::MouseMove && trackHover(x, y, clickX, clickY))
        update();
}

