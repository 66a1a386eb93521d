// Draws every skin picture with QPainter and writes <id>.png, a resource file listing them and
// a gallery of all of them into the folder given on the command line. Run by the build.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

#include <cstdio>
#include <functional>

#include "res/help_layout.h"
#include "res/resource_ids.h"
#include "res/skin_catalog.h"
#include "res/skin_words.h"

namespace {

using namespace vantorel::res;
namespace words = vantorel::res::words;

QString W(const Words& words, int language) {
  return QString::fromUtf8(words.In(language));
}

QRectF R(const Box& box) {
  return QRectF(box.x, box.y, box.width, box.height);
}

// A calm dark theme: light text on slate, one accent.
const QColor kText(240, 240, 240);
const QColor kDim(150, 160, 170);
const QColor kSlate(38, 47, 56);
const QColor kSlateLight(55, 67, 79);
const QColor kSlateDark{QRgb(kSkinTrough)};
const QColor kAccent{QRgb(kSkinAccent)};
const QColor kAccentLight(77, 208, 195);
const QColor kWarn(240, 173, 78);

// Every picture is drawn twice: once for a plain screen and once, with twice the pixels, for a
// screen scaled by 2. The drawing code works in the plain picture's units at both.
int g_scale = 1;

QImage Canvas(int width, int height) {
  QImage image(width * g_scale, height * g_scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(g_scale);
  image.fill(Qt::transparent);
  return image;
}

// Turns an anti-aliased drawing on transparency into an opaque picture whose transparent
// places are exactly the key colour: a pixel is either kept (blended over the backdrop) or
// keyed, so no half-key fringe remains, and no kept pixel happens to equal the key.
QImage Keyed(const QImage& drawing, QRgb key, QColor backdrop) {
  QImage out(drawing.size(), QImage::Format_RGB32);
  out.setDevicePixelRatio(drawing.devicePixelRatio());
  for (int y = 0; y < drawing.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < drawing.width(); ++x) {
      const QRgb p = in[x];  // premultiplied
      const int a = qAlpha(p);
      if (a < 128) {
        line[x] = key | 0xFF000000u;
        continue;
      }
      const int r = qRed(p) + backdrop.red() * (255 - a) / 255;
      const int g = qGreen(p) + backdrop.green() * (255 - a) / 255;
      const int b = qBlue(p) + backdrop.blue() * (255 - a) / 255;
      QRgb kept = qRgb(qMin(r, 255), qMin(g, 255), qMin(b, 255));
      if ((kept & 0xFFFFFFu) == (key & 0xFFFFFFu))
        kept = qRgb(qRed(kept) ^ 1, qGreen(kept), qBlue(kept));
      line[x] = kept;
    }
  }
  return out;
}

QImage Opaque(const QImage& drawing) {
  return drawing.convertToFormat(QImage::Format_RGB32);
}

void Text(QPainter& p, const QRectF& box, const QString& text, const QFont& font, QColor colour,
          int flags = Qt::AlignCenter) {
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, flags, text);
}

// Button states of a strip: disabled, normal, hover, pressed (then the same checked).
struct StateLook {
  QColor fill;
  QColor edge;
  QColor text;
  int shift;
};
StateLook LookOf(int state) {
  switch (state % 4) {
    case 0:
      return {kSlateDark, QColor(70, 78, 86), QColor(110, 118, 126), 0};
    case 1:
      return {kSlateLight, QColor(90, 104, 118), kText, 0};
    case 2:
      return {QColor(64, 84, 98), kAccentLight, kText, 0};
    default:
      return {kAccent.darker(140), kAccent, kText, 1};
  }
}

using FaceDrawer = std::function<void(QPainter&, const QRectF&, const StateLook&, int state)>;

QImage Strip(const SkinSpec& spec, const FaceDrawer& draw, QColor backdrop) {
  QImage drawing = Canvas(spec.width, spec.height);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const int frameWidth = spec.width / spec.frames;
  for (int f = 0; f < spec.frames; ++f) {
    const QRectF frame(f * frameWidth, 0, frameWidth, spec.height);
    draw(p, frame, LookOf(f), f);
  }
  p.end();
  return Keyed(drawing, static_cast<QRgb>(spec.key), backdrop);
}

FaceDrawer LabelButton(const QString& label, int language, int pixels, qreal radius) {
  return [=](QPainter& p, const QRectF& frame, const StateLook& look, int) {
    const QRectF body = frame.adjusted(1, 1, -1, -1).translated(look.shift, look.shift);
    p.setPen(QPen(look.edge, 1.2));
    p.setBrush(look.fill);
    p.drawRoundedRect(body, radius, radius);
    Text(p, body, label, SkinFont(language, pixels, true), look.text);
  };
}

FaceDrawer GlyphButton(const std::function<void(QPainter&, const QRectF&)>& glyph) {
  return [=](QPainter& p, const QRectF& frame, const StateLook& look, int) {
    const QRectF body = frame.adjusted(1.5, 1.5, -1.5, -1.5).translated(look.shift, look.shift);
    p.setPen(QPen(look.edge, 1));
    p.setBrush(look.fill);
    p.drawRoundedRect(body, 4, 4);
    p.setPen(QPen(look.text, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    glyph(p, body);
  };
}

void Panel(QPainter& p, const QRectF& box, qreal radius = 10) {
  p.setPen(QPen(QColor(74, 88, 102), 1));
  p.setBrush(QColor(30, 37, 45, 200));
  p.drawRoundedRect(box, radius, radius);
}

// A face with a title band of that height, ruled off below in the accent colour.
QImage Backdrop(int width, int height, const QString& title, int language, int band = 30) {
  QImage image = Canvas(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, height);
  shade.setColorAt(0, kSlateLight);
  shade.setColorAt(1, kSlateDark);
  p.fillRect(image.rect(), shade);
  p.fillRect(QRect(0, 0, width, band), QColor(32, 40, 48));
  p.fillRect(QRect(0, band, width, 1), kAccent);
  if (!title.isEmpty())
    Text(p, QRectF(14, 0, width - 28, band), title, SkinFont(language, 15, true), kText,
         Qt::AlignVCenter | Qt::AlignLeft);
  return image;
}

QImage MainBackground(int language) {
  const bool zh = language == 1;
  const SkinSpec* spec = FindSkin(zh ? kMainBackgroundZh : kMainBackgroundEn);
  QImage image = Backdrop(spec->width, spec->height, QString(), language);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Text(p, QRectF(14, 0, 400, 30), W(words::kTitle, language), SkinFont(0, 16, true), kText,
       Qt::AlignVCenter | Qt::AlignLeft);
  Panel(p, QRectF(24, 146, 264, 376));        // around the signal area (32, 154; 248 x 360)
  Panel(p, QRectF(310, 38, 318, 212));        // state, progress, date and time
  Panel(p, QRectF(350, 340, 248, 248), 124);  // behind the clock (360, 350; 228 x 228)
  Text(p, R(words::kMainHintBox), W(words::kMainHint, language), SkinFont(language, 13), kDim,
       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
  Text(p, R(words::kCalibrationBox), W(words::kCalibration, language), SkinFont(language, 11), kDim,
       Qt::AlignLeft);
  Text(p, R(words::kKeysHintBox), W(words::kKeysHint, language), SkinFont(language, 11), kDim,
       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
  // The caution belongs under the area that flashes.
  p.setPen(QPen(kWarn, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(28, 538, 16, 16));
  Text(p, QRectF(28, 538, 16, 16), QStringLiteral("!"), SkinFont(0, 11, true), kWarn);
  Text(p, R(words::kCautionBox), W(words::kCaution, language), SkinFont(language, 11), kDim,
       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  return Opaque(image);
}

QImage DialogBackground(int width, int height, const QString& title, int language,
                        const QString& body = QString()) {
  QImage image = Backdrop(width, height, title, language);
  if (!body.isEmpty()) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Text(p, R(words::BodyBox(width, height)), body, SkinFont(language, 14), kText,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  }
  return Opaque(image);
}

// The welcome dialog's labels sit beside the controls the dialog places on it.
QImage WelcomeBackground(int language) {
  QImage image = DialogBackground(440, 277, W(words::kWelcomeTitle, language), language);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QFont font = SkinFont(language, 13, true);
  Text(p, R(words::kWelcomeLanguageBox), W(words::kLanguage, language), font, kText,
       Qt::AlignLeft | Qt::AlignVCenter);
  Text(p, R(words::kWelcomeZoneBox), W(words::kTimeZone, language), font, kText,
       Qt::AlignLeft | Qt::AlignVCenter);
  Text(p, R(words::kWelcomeDstBox), W(words::kDst, language), font, kText,
       Qt::AlignLeft | Qt::AlignVCenter);
  Text(p, R(words::kDontShowAgainBox), W(words::kDontShowAgain, language), SkinFont(language, 12),
       kDim, Qt::AlignLeft | Qt::AlignVCenter);
  p.end();
  return Opaque(image);
}

QImage PageBackground(const QStringList& labels, const QList<Box>& boxes, int language) {
  QImage image = Canvas(440, 166);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(image.rect(), kSlate);
  for (int i = 0; i < labels.size(); ++i) {
    Text(p, R(boxes[i]), labels[i], SkinFont(language, 14, true), kText,
         Qt::AlignLeft | Qt::AlignVCenter);
  }
  return Opaque(image);
}

// Each label beside its own control: the zone list at (118, 35), 209 x 32, and the
// daylight-saving box at (345, 42), 16 x 17, with its label to its right.
QImage ZonePageBackground(int language) {
  QImage image =
      PageBackground({W(words::kTimezonePage, language)}, {words::kZonePageLabelBox}, language);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Text(p, R(words::kZonePageDstBox), W(words::kDst, language), SkinFont(language, 14, true), kText,
       Qt::AlignLeft | Qt::AlignVCenter);
  Text(p, R(words::kZoneNoteBox), W(words::kZoneNote, language), SkinFont(language, 12), kDim,
       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  p.end();
  return Opaque(image);
}

QImage Solid(int width, int height, QColor colour) {
  QImage image(width * g_scale, height * g_scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(g_scale);
  image.fill(colour);
  return image;
}

// The program's icon at any size: drawn on a 64-unit grid, scaled.
QImage Icon(int size = 64, bool transparentCorners = false) {
  QImage image = Canvas(size, size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
  p.setPen(QPen(kText, 4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(32, 32), 20, 20);
  p.drawLine(QPointF(32, 32), QPointF(32, 18));
  p.drawLine(QPointF(32, 32), QPointF(42, 36));
  p.end();
  return transparentCorners ? image : Opaque(image);
}

QImage StateLabel() {
  const SkinSpec& spec = *FindSkin(kStateLabel);
  QImage image = Canvas(spec.width, spec.height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QString texts[4] = {W(words::kNotCalibrated, 0), W(words::kCalibrated, 0),
                            W(words::kNotCalibrated, 1), W(words::kCalibrated, 1)};
  const FrameSize size = FrameOf(kStateLabel);
  for (int f = 0; f < spec.frames; ++f) {
    const QRectF frame(f * size.width, 0, size.width, size.height);
    p.fillRect(frame, QColor(30, 37, 45));
    const bool calibrated = f % 2 == 1;
    p.setPen(Qt::NoPen);
    p.setBrush(calibrated ? kAccentLight : kWarn);
    p.drawEllipse(QPointF(frame.left() + 12, 13), 5, 5);
    Text(p, frame.adjusted(22, 0, 0, 0), texts[f], SkinFont(f / 2, 13, true), kText,
         Qt::AlignLeft | Qt::AlignVCenter);
  }
  return Opaque(image);
}

QImage Weekdays() {
  const SkinSpec& spec = *FindSkin(kWeekdayZh);
  QImage drawing = Canvas(spec.width, spec.height);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  QString names[7];
  for (int d = 0; d < 7; ++d) names[d] = W(words::kWeekdays[d], 1);
  const FrameSize size = FrameOf(kWeekdayZh);
  for (int d = 0; d < spec.frames; ++d)
    Text(p, QRectF(d * size.width, 0, size.width, size.height), names[d], SkinFont(1, 18), kText);
  p.end();
  return Keyed(drawing, static_cast<QRgb>(spec.key), kSlateDark);
}

QImage DateDigits() {
  const SkinSpec& spec = *FindSkin(kDateDigits);
  QImage drawing = Canvas(spec.width, spec.height);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  for (int d = 0; d < 10; ++d)
    Text(p, QRectF(d * 14, 0, 14, 22), QString::number(d), SkinFont(0, 19, true), kText);
  p.setPen(Qt::NoPen);
  p.setBrush(kText);
  p.drawRoundedRect(QRectF(144, 10, 12, 3), 1.5, 1.5);  // the dash between date fields
  p.end();
  return Keyed(drawing, static_cast<QRgb>(spec.key), kSlateDark);
}

QImage Progress(int id) {
  const SkinSpec& spec = *FindSkin(id);
  QImage drawing = Canvas(spec.width, spec.height);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF track(0.5, 0.5, spec.width - 1, spec.height - 1);
  if (id == kProgressTrough) {
    // The trough is copied as it stands: its corners carry the panel's colour, not the key.
    p.fillRect(drawing.rect(), QColor(30, 37, 45));
    p.setPen(QPen(QColor(74, 88, 102), 1));
    p.setBrush(kSlateDark);
  } else {
    QLinearGradient fill(0, 0, 0, spec.height);
    const QColor base = id == kProgressBar ? kAccent : kWarn;
    fill.setColorAt(0, base.lighter(130));
    fill.setColorAt(1, base.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
  }
  p.drawRoundedRect(track, 6, 6);
  p.end();
  return Keyed(drawing, static_cast<QRgb>(spec.key), kSlateDark);
}

// The dial is copied onto the window unchanged, square and all: outside its round face it
// shows the very face of the window beneath it (the same in both languages there), ring and
// gradient, so no edge of the square can be seen.
constexpr QPoint kDialAt(360, 350);

QImage Dial() {
  const QImage window = MainBackground(0);
  const int s = g_scale;
  QImage image = window.copy(QRect(kDialAt * s, QSize(228, 228) * s))
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(s);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient face(114, 100, 130);
  face.setColorAt(0, kSlateLight);
  face.setColorAt(1, kSlateDark);
  p.setBrush(face);
  p.setPen(QPen(kAccent, 3));
  p.drawEllipse(QPointF(114, 114), 108, 108);
  for (int mark = 0; mark < 60; ++mark) {
    const qreal a = qDegreesToRadians(mark * 6.0);
    const qreal outer = 100;
    const qreal inner = mark % 5 == 0 ? 86 : 94;
    p.setPen(
        QPen(mark % 5 == 0 ? kText : kDim, mark % 5 == 0 ? 3 : 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(114 + inner * qSin(a), 114 - inner * qCos(a)),
               QPointF(114 + outer * qSin(a), 114 - outer * qCos(a)));
  }
  const int numbers[4] = {12, 3, 6, 9};
  for (int i = 0; i < 4; ++i) {
    const qreal a = qDegreesToRadians(i * 90.0);
    Text(p, QRectF(114 + 70 * qSin(a) - 16, 114 - 70 * qCos(a) - 12, 32, 24),
         QString::number(numbers[i]), SkinFont(0, 18, true), kText);
  }
  return Opaque(image);
}

// Cell k shows the hand turned k * 6 degrees counter-clockwise from 12, pivot at the cell centre.
QImage HandStrip(int id) {
  const SkinSpec& spec = *FindSkin(id);
  const int cell = spec.width / 5;
  struct Hand {
    qreal length;
    qreal tail;
    qreal width;
    QColor colour;
  };
  const Hand hand = id == kHourHand     ? Hand{58, 12, 7, kText}
                    : id == kMinuteHand ? Hand{86, 14, 4.5, kText}
                                        : Hand{96, 20, 2.6, kWarn};
  QImage drawing = Canvas(spec.width, spec.height);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  for (int k = 0; k < 15; ++k) {
    const QPointF centre(cell * (k % 5) + cell / 2.0, cell * (k / 5) + cell / 2.0);
    p.save();
    p.translate(centre);
    p.rotate(-6.0 * k);
    p.setPen(QPen(hand.colour, hand.width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, hand.tail), QPointF(0, -hand.length));
    p.setPen(Qt::NoPen);
    p.setBrush(hand.colour);
    p.drawEllipse(QPointF(0, 0), hand.width + 2, hand.width + 2);
    p.restore();
  }
  p.end();
  QImage strip = Keyed(drawing, static_cast<QRgb>(spec.key), QColor(31, 38, 46));
  QPainter frame(&strip);
  frame.setPen(QColor(90, 90, 90));
  frame.drawRect(0, 0, spec.width - 1, spec.height - 1);
  return strip;
}

QImage CheckBox() {
  const SkinSpec& spec = *FindSkin(kCheckBox);
  return Strip(
      spec,
      [](QPainter& p, const QRectF& frame, const StateLook& look, int state) {
        const QRectF box = QRectF(frame.left() + 1.5, 2.5, 13, 13);
        p.setPen(QPen(look.edge, 1.2));
        p.setBrush(look.fill);
        p.drawRoundedRect(box, 3, 3);
        if (state >= 4) {
          p.setPen(QPen(state == 4 ? look.text : kAccentLight, 2, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
          p.drawPolyline(
              QPolygonF({box.topLeft() + QPointF(3, 6.5), box.topLeft() + QPointF(5.5, 9.5),
                         box.topLeft() + QPointF(10, 3.5)}));
        }
      },
      kSlate);
}

QImage ComboFace(int id) {
  const SkinSpec& spec = *FindSkin(id);
  return Strip(
      spec,
      [](QPainter& p, const QRectF& frame, const StateLook& look, int) {
        const QRectF body = frame.adjusted(1, 1, -1, -1);
        p.setPen(QPen(look.edge, 1.2));
        p.setBrush(look.fill);
        p.drawRoundedRect(body, 6, 6);
        const QPointF tip(body.right() - 15, body.center().y() + 3);
        p.setPen(Qt::NoPen);
        p.setBrush(look.text);
        p.drawPolygon(QPolygonF({tip + QPointF(-5, -6), tip + QPointF(5, -6), tip}));
      },
      kSlate);
}

QImage TabStrip(int language) {
  const SkinSpec& spec = *FindSkin(language == 1 ? kTabStripZh : kTabStripEn);
  const QString names[3] = {W(words::kTabs[0], language), W(words::kTabs[1], language),
                            W(words::kTabs[2], language)};
  return Strip(
      spec,
      [&](QPainter& p, const QRectF& frame, const StateLook&, int cell) {
        const int state = cell % 3;  // normal, hover, selected
        const QRectF body = frame.adjusted(2, 3, -2, 0);
        QPainterPath path;
        path.addRoundedRect(body.adjusted(0, 0, 0, 8), 7, 7);
        p.setClipRect(frame.adjusted(0, 0, 0, -0));
        p.setPen(QPen(state == 2 ? kAccent : QColor(80, 94, 108), 1.2));
        p.setBrush(state == 2 ? kSlate : state == 1 ? QColor(64, 84, 98) : kSlateDark);
        p.drawPath(path);
        p.setClipping(false);
        Text(p, body, names[cell / 3], SkinFont(language, 13, state == 2),
             state == 0 ? kDim : kText);
      },
      kSlateDark);
}

QImage HelpPage(int language) {
  QImage image =
      Backdrop(kHelpWidth, kHelpHeight, W(words::kHelpTitle, language), language, kHelpBand);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  const HelpLayout layout = LayOutHelp(language, &image);
  for (const HelpBlock& block : layout.blocks) {
    Text(p, block.headingBox, block.heading, layout.heading, kAccentLight, flags);
    Text(p, block.bodyBox, block.body, layout.body, kText, flags);
  }
  // Help that runs off its page is a drawing fault: no picture, and the build stops on it.
  if (layout.bottom > kHelpHeight - 8) {
    std::fprintf(stderr, "help page %d: the text runs to %.0f of %d\n", language, layout.bottom,
                 kHelpHeight);
    return {};
  }
  return Opaque(image);
}

QImage ListBackground(int id) {
  const SkinSpec& spec = *FindSkin(id);
  QImage image = Canvas(spec.width, spec.height);
  QPainter p(&image);
  p.fillRect(image.rect(), id == kServerList ? kSlateDark : kAccent.darker(150));
  if (id == kServerListSelection) p.fillRect(QRect(0, 0, 3, spec.height), kAccentLight);
  return Opaque(image);
}

QImage Draw(const SkinSpec& spec) {
  const int lang = spec.language == 1 ? 1 : 0;
  auto button = [&](const Words& label, int pixels, qreal radius, QColor backdrop) {
    return Strip(spec, LabelButton(W(label, lang), lang, pixels, radius), backdrop);
  };
  switch (spec.id) {
    case kIcon:
      return Icon();
    case kMainBackgroundEn:
    case kMainBackgroundZh:
      return MainBackground(lang);
    case kCloseButton:
      return Strip(spec, GlyphButton([](QPainter& p, const QRectF& r) {
                     const QPointF c = r.center();
                     p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
                     p.drawLine(c + QPointF(4, -4), c + QPointF(-4, 4));
                   }),
                   kSlate);
    case kMinimiseButton:
      return Strip(spec, GlyphButton([](QPainter& p, const QRectF& r) {
                     const QPointF c = r.center();
                     p.drawLine(c + QPointF(-5, 3), c + QPointF(5, 3));
                   }),
                   kSlate);
    case kSettingButton:
      return Strip(spec, GlyphButton([](QPainter& p, const QRectF& r) {
                     const QPointF c = r.center();
                     p.drawEllipse(c, 3.0, 3.0);
                     for (int i = 0; i < 8; ++i) {
                       const qreal a = qDegreesToRadians(i * 45.0);
                       p.drawLine(c + QPointF(5 * qCos(a), 5 * qSin(a)),
                                  c + QPointF(7 * qCos(a), 7 * qSin(a)));
                     }
                   }),
                   kSlate);
    case kHelpButton:
      return Strip(spec, GlyphButton([](QPainter& p, const QRectF& r) {
                     Text(p, r, QStringLiteral("?"), SkinFont(0, 14, true), p.pen().color());
                   }),
                   kSlate);
    case kUpdateButtonEn:
    case kUpdateButtonZh:
      return button(words::kUpdate, 17, 8, kSlate);
    case kCalibrateButtonEn:
    case kCalibrateButtonZh:
      return button(words::kCalibrate, 22, 12, kSlate);
    case kStateLabel:
      return StateLabel();
    case kWeekdayZh:
      return Weekdays();
    case kDateDigits:
      return DateDigits();
    case kProgressTrough:
    case kProgressBar:
    case kProgressBarAlternative:
      return Progress(spec.id);
    case kSignalBlack:
      return Solid(spec.width, spec.height, Qt::black);
    case kSignalWhite:
      return Solid(spec.width, spec.height, Qt::white);
    case kClockDial:
      return Dial();
    case kHourHand:
    case kMinuteHand:
    case kSecondHand:
      return HandStrip(spec.id);
    case kCheckBox:
      return CheckBox();
    case kWelcomeEn:
    case kWelcomeZh:
      return WelcomeBackground(lang);
    case kSettingsEn:
    case kSettingsZh:
      return DialogBackground(spec.width, spec.height, QString(), lang);
    case kPromptEn:
    case kPromptZh:
      return DialogBackground(spec.width, spec.height, W(words::kPromptTitle, lang), lang,
                              QStringLiteral("⚠  ") + W(words::kPromptQuestion, lang));
    case kHelpEn:
    case kHelpZh:
      return HelpPage(lang);
    case kWelcomeOkEn:
    case kWelcomeOkZh:
    case kSettingsOkEn:
    case kSettingsOkZh:
      return button(words::kOk, 15, 7, kSlate);
    case kWelcomeCancelEn:
    case kWelcomeCancelZh:
    case kSettingsCancelEn:
    case kSettingsCancelZh:
      return button(words::kCancel, 15, 7, kSlate);
    case kRestoreEn:
    case kRestoreZh:
      return button(words::kRestore, 14, 7, kSlate);
    case kAddButtonEn:
    case kAddButtonZh:
      return button(words::kAdd, 12, 4, kSlate);
    case kEditButtonEn:
    case kEditButtonZh:
      return button(words::kEdit, 12, 4, kSlate);
    case kDeleteButtonEn:
    case kDeleteButtonZh:
      return button(words::kDelete, 12, 4, kSlate);
    case kComboWelcomeZone:
    case kComboWelcomeLanguage:
    case kComboLanguagePage:
    case kComboZonePage:
      return ComboFace(spec.id);
    case kTabStripEn:
    case kTabStripZh:
      return TabStrip(lang);
    case kLanguagePageEn:
    case kLanguagePageZh:
      return PageBackground({W(words::kLanguage, lang)}, {words::kLanguagePageLabelBox}, lang);
    case kServerPage:
      return PageBackground({}, {}, 0);
    case kServerList:
    case kServerListSelection:
      return ListBackground(spec.id);
    case kZonePageEn:
    case kZonePageZh:
      return ZonePageBackground(lang);
    default:
      return {};
  }
}

// Every picture on a grey board with its id, for review by eye.
QImage Gallery(const QList<QPair<int, QImage>>& pictures) {
  const int width = 1200;
  int x = 10;
  int y = 10;
  int rowHeight = 0;
  QList<QPoint> places;
  for (const auto& [id, image] : pictures) {
    const QSize size = image.size().boundedTo(QSize(width - 20, 700));
    if (x + size.width() > width - 10) {
      x = 10;
      y += rowHeight + 24;
      rowHeight = 0;
    }
    places.append(QPoint(x, y));
    x += size.width() + 12;
    rowHeight = qMax(rowHeight, size.height());
  }
  QImage board(width, y + rowHeight + 34, QImage::Format_RGB32);
  board.fill(QColor(120, 120, 120));
  QPainter p(&board);
  for (int i = 0; i < pictures.size(); ++i) {
    p.drawImage(places[i], pictures[i].second);
    Text(p, QRectF(places[i].x(), places[i].y() + pictures[i].second.height(), 200, 18),
         QString::number(pictures[i].first), SkinFont(0, 12, true), Qt::black,
         Qt::AlignLeft | Qt::AlignTop);
  }
  return board;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  QFile qrc(out.filePath(QStringLiteral("skins.qrc")));
  if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
  QTextStream list(&qrc);
  list << "<RCC>\n  <qresource prefix=\"/res\">\n";
  QList<QPair<int, QImage>> pictures;
  for (const int scale : {1, 2}) {
    g_scale = scale;
    for (const SkinSpec& spec : SkinCatalog()) {
      const QImage picture = Draw(spec);
      const QSize expected(spec.width * scale, spec.height * scale);
      if (picture.size() != expected || picture.devicePixelRatio() != scale) {
        std::fprintf(stderr, "skin %d at %dx: drawn %dx%d, expected %dx%d\n", spec.id, scale,
                     picture.width(), picture.height(), expected.width(), expected.height());
        return 1;
      }
      const QString name = scale == 1 ? QStringLiteral("%1.png").arg(spec.id)
                                      : QStringLiteral("%1@2x.png").arg(spec.id);
      if (!picture.save(out.filePath(name))) return 1;
      list << "    <file>" << name << "</file>\n";
      if (scale == 1) pictures.append({spec.id, picture});
    }
  }
  g_scale = 1;
  list << "  </qresource>\n</RCC>\n";
  // The icon in the sizes desktops use, for installing.
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    if (!Icon(size, true).save(out.filePath(QStringLiteral("vantorel-%1.png").arg(size)))) return 1;
  }
  return Gallery(pictures).save(out.filePath(QStringLiteral("gallery.png"))) ? 0 : 1;
}
