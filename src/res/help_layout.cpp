#include "res/help_layout.h"

#include <QFontMetricsF>

#include "res/skin_words.h"

namespace vantorel::res {

QFont SkinFont(int language, int pixels, bool bold) {
  QFont font(language == 1 ? QStringLiteral("WenQuanYi Micro Hei")
                           : QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

HelpLayout LayOutHelp(int language, QPaintDevice* device) {
  const bool zh = language == 1;
  HelpLayout layout;
  layout.heading = SkinFont(language, zh ? 16 : 15, true);
  layout.body = SkinFont(language, zh ? 14 : 13);
  const QFontMetricsF heading =
      device ? QFontMetricsF(layout.heading, device) : QFontMetricsF(layout.heading);
  const QFontMetricsF body =
      device ? QFontMetricsF(layout.body, device) : QFontMetricsF(layout.body);
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  qreal y = kHelpBand + 14;
  for (const words::HelpSection& section : words::kHelpSections) {
    HelpBlock block;
    block.heading = QString::fromUtf8(section.heading.In(language));
    block.body = QString::fromUtf8(section.body.In(language));
    block.headingBox = QRectF(28, y, 537, 24);
    y += heading.height() + 4;
    const QRectF measured = body.boundingRect(QRectF(28, y, 537, 400), flags, block.body);
    block.bodyBox = QRectF(28, y, 537, measured.height());
    y += measured.height() + 14;
    layout.blocks.append(block);
  }
  layout.bottom = y;
  return layout;
}

}  // namespace vantorel::res
