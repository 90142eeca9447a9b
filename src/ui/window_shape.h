#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>

namespace korvane::ui {

// The region of an image that is NOT the colour key: the window's shape.
// Windows without a compositor can't blend per pixel, so a mask carries the
// key colour's see-through outline.
QRegion keyColourRegion(const QImage& image, const QColor& key);

// Top-left of a window centred on the screen, by integer halves.
QPoint centredOn(const QSize& screen, const QSize& window);

}  // namespace korvane::ui
