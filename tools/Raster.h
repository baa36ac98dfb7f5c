// Pictures are drawn without antialiasing at four times their size with solid colours only,
// then averaged down with integer arithmetic: the result is smooth and the same on every
// machine, so the generated files are byte-identical wherever they are made.
#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

constexpr int kSupersample = 4;

// Draws with painter coordinates in final pixels; returns the smoothed picture.
QImage RenderSmooth(int width, int height, QColor background,
                    const std::function<void(QPainter&)>& draw);
