#include "res/skins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "res/resource_ids.h"
#include "res/skin_catalog.h"
#include "res/skin_words.h"

namespace vantorel {
namespace {

using namespace res;

bool IsKey(const QImage& image, int x, int y, int32_t key) {
  return (image.pixel(x, y) & 0xFFFFFFu) == static_cast<uint32_t>(key);
}

TEST(Skins, EveryCataloguedPictureLoadsWithItsSizeAndFrames) {
  ASSERT_EQ(SkinCatalog().size(), 61u);
  for (const SkinSpec& spec : SkinCatalog()) {
    const QImage image = LoadSkin(spec.id);
    ASSERT_FALSE(image.isNull()) << spec.id;
    EXPECT_EQ(image.width(), spec.width) << spec.id;
    EXPECT_EQ(image.height(), spec.height) << spec.id;
    EXPECT_EQ(spec.width % spec.frames, 0) << spec.id;
    EXPECT_FALSE(image.hasAlphaChannel()) << spec.id;  // transparency is the key colour's job
  }
}

// Only the spaces that space a Chinese word out in a picture go; a space beside a Latin word
// is a word's end.
TEST(SkinWords, SpokenWithoutTheDrawingsSpaces) {
  for (const auto& [drawn, spoken] : {std::pair{"更 新", "更新"},
                                      {"按“校 时”。", "按“校时”。"},
                                      {"NTP 服务器", "NTP 服务器"},
                                      {"Vantorel 校时", "Vantorel 校时"},
                                      {"Restore defaults", "Restore defaults"},
                                      {" 更 ", " 更 "}}) {
    EXPECT_EQ(res::Spoken(drawn), spoken) << drawn;
  }
}

TEST(Skins, UnknownIdsGiveANullPicture) {
  for (int id : {0, 1, 144, 999, -5}) {
    EXPECT_TRUE(LoadSkin(id).isNull()) << id;
    EXPECT_EQ(FindSkin(id), nullptr) << id;
  }
}

// The key colour marks the corners outside a frame's rounded body, never the body itself.
TEST(Skins, KeyColourOnlyWhereTransparent) {
  for (const SkinSpec& spec : SkinCatalog()) {
    if (spec.key == kNoKey || spec.id == kHourHand || spec.id == kMinuteHand ||
        spec.id == kSecondHand)
      continue;
    const QImage image = LoadSkin(spec.id);
    const int frameWidth = spec.width / spec.frames;
    // The trough is copied without its key; only the bars drawn over it leave it out.
    EXPECT_EQ(IsKey(image, 0, 0, spec.key), spec.id != kProgressTrough) << spec.id;
    if (spec.id == kWeekdayZh || spec.id == kDateDigits) continue;  // text on transparency
    for (int f = 0; f < spec.frames; ++f) {
      const int cx = f * frameWidth + frameWidth / 2;
      EXPECT_FALSE(IsKey(image, cx, spec.height / 2 + 1, spec.key)) << spec.id << " frame " << f;
    }
  }
}

// A kept pixel never comes close to the key: an anti-aliased half-key edge would show as a
// fringe of the key colour on the window.
TEST(Skins, NoFringeOfTheKeyColour) {
  for (const SkinSpec& spec : SkinCatalog()) {
    if (spec.key == kNoKey) continue;
    const QImage image = LoadSkin(spec.id);
    const int kr = (spec.key >> 16) & 0xFF;
    const int kg = (spec.key >> 8) & 0xFF;
    const int kb = spec.key & 0xFF;
    int fringe = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        const int distance =
            std::abs(qRed(p) - kr) + std::abs(qGreen(p) - kg) + std::abs(qBlue(p) - kb);
        fringe += distance > 0 && distance < 12 ? 1 : 0;
      }
    }
    EXPECT_EQ(fringe, 0) << spec.id;
  }
}

TEST(Skins, HandCellsHaveKeyedBackgroundAndOpaquePivot) {
  for (int id : {kHourHand, kMinuteHand, kSecondHand}) {
    const QImage strip = LoadSkin(id);
    const int cell = strip.width() / 5;
    for (int k = 0; k < 15; ++k) {
      const int x0 = cell * (k % 5);
      const int y0 = cell * (k / 5);
      EXPECT_FALSE(IsKey(strip, x0 + cell / 2, y0 + cell / 2, kKeyHandStrip))
          << id << " cell " << k;
      EXPECT_TRUE(IsKey(strip, x0 + 20, y0 + cell - 20, kKeyHandStrip)) << id << " cell " << k;
    }
    EXPECT_FALSE(IsKey(strip, 0, 0, kKeyHandStrip)) << id;  // the frame line
  }
}

TEST(Skins, SignalLevelsAreUniform) {
  for (const auto& [id, colour] :
       {std::pair{kSignalBlack, 0x000000u}, std::pair{kSignalWhite, 0xFFFFFFu}}) {
    const QImage image = LoadSkin(id);
    for (int y = 0; y < image.height(); y += 7) {
      for (int x = 0; x < image.width(); x += 7)
        ASSERT_EQ(image.pixel(x, y) & 0xFFFFFFu, colour) << id;
    }
  }
}

// An opaque picture copied onto the main window's face shows the face where it is not its own
// drawing: along its whole edge it matches the face beneath it, in both languages, so neither
// a square nor a cut ring can be seen.
TEST(Skins, PicturesOnTheFaceMeetItWithoutASeam) {
  struct Case {
    int id;
    QPoint at;
  };
  for (const Case& c : {Case{kClockDial, {360, 350}}}) {
    const QImage picture = LoadSkin(c.id);
    for (const int face : {kMainBackgroundEn, kMainBackgroundZh}) {
      const QImage window = LoadSkin(face);
      int worst = 0;
      for (int i = 0; i < picture.width(); ++i) {
        for (const QPoint p : {QPoint(i, 0), QPoint(i, picture.height() - 1), QPoint(0, i),
                               QPoint(picture.width() - 1, i)}) {
          const QRgb a = picture.pixel(p);
          const QRgb b = window.pixel(p + c.at);
          worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                            std::abs(qBlue(a) - qBlue(b))});
        }
      }
      EXPECT_LE(worst, 3) << c.id << " on " << face;
    }
  }
}

}  // namespace
}  // namespace vantorel
