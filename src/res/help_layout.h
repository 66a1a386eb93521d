#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPaintDevice;

// Where the help page's sections stand: the generator draws them there, and the help window
// lays its readable texts over the same places.
namespace vantorel::res {

// The skins' faces: Liberation Sans for English, WenQuanYi Micro Hei for Chinese.
QFont SkinFont(int language, int pixels, bool bold = false);

inline constexpr int kHelpWidth = 593;
inline constexpr int kHelpHeight = 630;
// The band under the help's title, around its close button at (552, 10), 24 x 21.
inline constexpr int kHelpBand = 41;

struct HelpBlock {
  QString heading;
  QString body;
  QRectF headingBox;
  QRectF bodyBox;
};

struct HelpLayout {
  QFont heading;
  QFont body;
  QList<HelpBlock> blocks;
  qreal bottom = 0;  // below the last section
};

// Measured on the device the page is drawn on, or the screen's metrics without one.
HelpLayout LayOutHelp(int language, QPaintDevice* device = nullptr);

}  // namespace vantorel::res
