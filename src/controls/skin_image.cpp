#include "controls/skin_image.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QRegion>
#include <QWidget>

#include "res/skin_catalog.h"
#include "res/skins.h"

namespace vantorel {

QImage KeyedImage(const QImage& picture, QRgb key) {
  if (picture.isNull()) return {};
  QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
  keyed.setDevicePixelRatio(picture.devicePixelRatio());
  const QRgb bare = key & 0xFFFFFFu;
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x) {
      if ((line[x] & 0xFFFFFFu) == bare) line[x] = 0;
    }
  }
  return keyed;
}

QSize LogicalSize(const QImage& picture) {
  return picture.deviceIndependentSize().toSize();
}

QRect ToPixels(const QImage& picture, const QRect& logical) {
  const qreal ratio = picture.devicePixelRatio();
  return QRectF(logical.x() * ratio, logical.y() * ratio, logical.width() * ratio,
                logical.height() * ratio)
      .toRect();
}

QImage LoadKeyedSkin(int id, QRgb key) {
  return KeyedImage(LoadSkin(id), key);
}

void SkinScrollBars(QAbstractScrollArea* list) {
  const QColor trough{QRgb(res::kSkinTrough)};
  const QColor accent{QRgb(res::kSkinAccent)};
  const QString sheet = QStringLiteral(
      "QScrollBar:vertical { background: %1; width: %3px; margin: 0; border: none; }"
      "QScrollBar::handle:vertical { background: %2; min-height: 20px; margin: 1px; "
      "border-radius: 3px; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");
  list->verticalScrollBar()->setStyleSheet(
      sheet.arg(trough.name(), accent.name()).arg(kSkinScrollBarWidth));
}

namespace {

// A rectangle of that size whose corners are ellipses of that size: the window's outline.
QPainterPath RoundedOutline(QSize size, int cornerEllipse) {
  QPainterPath outline;
  outline.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), cornerEllipse / 2.0,
                         cornerEllipse / 2.0);
  return outline;
}

}  // namespace

void CutRoundedShape(QWidget* window, QSize size, int cornerEllipse) {
  // Exactly its picture's size, which a tiling compositor reads as a window to float, not to
  // stretch over the screen.
  window->setFixedSize(size);
  window->setMask(QRegion(RoundedOutline(size, cornerEllipse).toFillPolygon().toPolygon()));
}

void MakeTranslucent(QWidget* window) {
  window->setAttribute(Qt::WA_TranslucentBackground);
}

QImage WithRoundCorners(const QImage& picture, int cornerEllipse) {
  QImage rounded = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QPainterPath outline = RoundedOutline(LogicalSize(picture), cornerEllipse);
  // Kept where the outline covers a pixel, in proportion: the corners' edge pixels blend.
  QImage inside(rounded.size(), QImage::Format_ARGB32_Premultiplied);
  inside.setDevicePixelRatio(rounded.devicePixelRatio());
  inside.fill(Qt::transparent);
  QPainter outlinePainter(&inside);
  outlinePainter.setRenderHint(QPainter::Antialiasing);
  outlinePainter.fillPath(outline, Qt::black);
  outlinePainter.end();
  QPainter painter(&rounded);
  painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
  painter.drawImage(QPoint(0, 0), inside);
  return rounded;
}

}  // namespace vantorel
