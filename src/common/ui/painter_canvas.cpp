// The QPainter canvas of the graphics window's replay; see painter_canvas.h.
#include "common/ui/painter_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace common::ui {

QColor ToQColor(ColourValue colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height)
    : painter_(painter), width_(width), height_(height) {
  painter_.setBrush(Qt::NoBrush);
}

void PainterCanvas::SetPen(ColourValue colour, int width, int style) {
  QPen pen(ToQColor(colour));
  pen.setWidth(std::max(width, 0));
  switch (style) {
    case 1: pen.setStyle(Qt::DotLine); break;
    case 2: pen.setStyle(Qt::DashDotLine); break;
    case 3: pen.setStyle(Qt::DashLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
  }
  painter_.setPen(pen);
}

void PainterCanvas::MoveTo(int x, int y) { pen_ = QPoint(x, y); }

void PainterCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  painter_.drawLine(pen_, to);
  pen_ = to;
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  painter_.setBrush(Qt::NoBrush);
  painter_.drawEllipse(QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                             QPoint(std::max(left, right), std::max(top, bottom))));
}

void PainterCanvas::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const QRectF box(QPointF(std::min(left, right), std::min(top, bottom)),
                   QPointF(std::max(left, right), std::max(top, bottom)));
  const QPointF c = box.center();
  // Angles as seen on the device (y downward), counterclockwise positive.
  const double a3 = std::atan2(-(y3 - c.y()), x3 - c.x()) * 180 / std::numbers::pi;
  const double a4 = std::atan2(-(y4 - c.y()), x4 - c.x()) * 180 / std::numbers::pi;
  double span = a4 - a3;
  while (span <= 0) span += 360;
  painter_.drawArc(box, static_cast<int>(std::lround(a3 * 16)), static_cast<int>(std::lround(span * 16)));
}

void PainterCanvas::Polygon(const CanvasPoint (&corners)[4], ColourValue fill) {
  QPolygon polygon;
  for (const auto& p : corners) polygon << QPoint(p.x, p.y);
  painter_.setBrush(ToQColor(fill));
  painter_.drawPolygon(polygon);
  painter_.setBrush(Qt::NoBrush);
}

void PainterCanvas::Text(int x, int y, const std::string& text, const CanvasFont& font, ColourValue colour) {
  if (text.empty()) return;
  QFont f(QString::fromStdString(font.face));
  // The height is the character cell, ascent and descent together (the
  // em of a face is smaller): so a text stands within the cell that the
  // drawing gives it, and its capitals are as high as the drawing's text
  // height, as in the CAD files.
  f.setPixelSize(100);
  const QFontMetricsF reference(f);
  const qreal cell = reference.ascent() + reference.descent();
  const int pixels = cell > 0 ? static_cast<int>(std::lround(font.height * 100 / cell)) : font.height;
  f.setPixelSize(std::max(pixels, 1));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeout);
  // The width is the average character width: stretch the face to it.
  const int natural = QFontMetrics(f).averageCharWidth();
  if (font.width > 0 && natural > 0) f.setStretch(std::clamp(100 * font.width / natural, 1, 4000));
  const QFontMetrics metrics(f);
  painter_.save();
  painter_.setFont(f);
  painter_.setPen(ToQColor(colour));
  painter_.translate(x, y);
  painter_.rotate(-font.escapement / 10.0);
  painter_.drawText(QPointF(0, metrics.ascent()), QString::fromStdString(text));
  painter_.restore();
}

}  // namespace common::ui
