// Compares what the screen shows of a widget with how the widget renders
// itself now: equal once the widget has been repainted since its last change.
#pragma once

#include <QImage>
#include <QScreen>
#include <QWidget>

inline QImage onScreen(QWidget &widget)
{
    const QPoint origin = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), origin.x(), origin.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

inline QImage rendered(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool screenIsCurrent(QWidget &widget)
{
    return onScreen(widget) == rendered(widget);
}
