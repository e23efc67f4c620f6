// The QPainter canvas of the graphics window's replay; see painter_canvas.h.
#include "common/ui/painter_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

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

namespace {

// The proportions of the face the pictures are designed with (Arial), in
// ems: the character cell (ascent and descent), the ascent, the capital
// and digit height, the average character width that a font's width
// names, and the advance of a digit.
constexpr double kCellEm = 1.117, kAscentEm = 0.905, kCapEm = 0.716, kAverageEm = 0.441, kDigitEm = 0.556;

// What a face measures, per em: the height of its capitals and the advance
// of its digits. Faces differ in both and in their ascent and descent (the
// system may give any face for the configured one), so a text is laid out
// from these, not from the cell the face claims.
struct FaceMeasure {
  double capital = kCapEm;
  double digit = kDigitEm;
};

FaceMeasure MeasureFace(const QFont& font) {
  static std::map<std::tuple<QString, bool, bool>, FaceMeasure> known;
  const auto key = std::make_tuple(font.family(), font.bold(), font.italic());
  if (const auto found = known.find(key); found != known.end()) return found->second;
  QFont probe(font);
  constexpr int em = 200;
  probe.setPixelSize(em);
  probe.setStretch(QFont::Unstretched);
  const QFontMetricsF metrics(probe);
  FaceMeasure measure;
  const double capital = metrics.tightBoundingRect("H").height();
  const double digits = metrics.horizontalAdvance("0123456789") / 10;
  if (capital > em * 0.3 && capital < em * 1.2) measure.capital = capital / em;
  if (digits > em * 0.2 && digits < em * 1.5) measure.digit = digits / em;
  known.emplace(key, measure);
  return measure;
}

}  // namespace

void PainterCanvas::Text(int x, int y, const std::string& text, const CanvasFont& font, ColourValue colour) {
  if (text.empty()) return;
  QFont f(QString::fromStdString(font.face));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeout);
  // The height is the character cell of the designed face: its capitals
  // are as high as the drawing's text height (as in the CAD files) and its
  // base line stands where the designed face has it, whatever face the
  // system gave; so a text stays within the cell the drawing gives it.
  const FaceMeasure measure = MeasureFace(f);
  const double cell = font.height;
  const double capital = cell * kCapEm / kCellEm;
  f.setPixelSize(std::max(static_cast<int>(std::lround(capital / measure.capital)), 1));
  const double baseline = cell * kAscentEm / kCellEm;
  // The width is the average character width of the designed face: the
  // face is stretched so that its digits come out as wide as the designed
  // face's there.
  if (font.width > 0) {
    const double wanted = font.width * kDigitEm / kAverageEm;
    const double natural = measure.digit * f.pixelSize();
    if (natural > 0) f.setStretch(std::clamp(static_cast<int>(std::lround(100 * wanted / natural)), 1, 4000));
  }
  painter_.save();
  painter_.setFont(f);
  painter_.setPen(ToQColor(colour));
  painter_.translate(x, y);
  painter_.rotate(-font.escapement / 10.0);
  painter_.drawText(QPointF(0, baseline), QString::fromStdString(text));
  painter_.restore();
}

}  // namespace common::ui
