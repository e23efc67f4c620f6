// A device canvas of the graphics window's replay (graphics_window.h) that
// paints with a QPainter: on the off-screen image of the screen and on a
// printer page alike.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPoint>

#include "common/graphics_window.h"

namespace common::ui {

QColor ToQColor(ColourValue colour);

class PainterCanvas : public GraphicsCanvas {
 public:
  // width, height: the device size in the pixels the replay maps to.
  PainterCanvas(QPainter& painter, int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(ColourValue colour, int width, int style) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
  void Polygon(const CanvasPoint (&corners)[4], ColourValue fill) override;
  void Text(int x, int y, const std::string& text, const CanvasFont& font, ColourValue colour) override;

 private:
  QPainter& painter_;
  int width_, height_;
  QPoint pen_;
};

}  // namespace common::ui
