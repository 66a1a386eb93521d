#pragma once

#include <cstdint>
#include <span>

namespace vantorel::res {

inline constexpr int32_t kNoKey = -1;
inline constexpr int32_t kKeyRed = 0xFF0000;
inline constexpr int32_t kKeyWhite = 0xFFFFFF;
inline constexpr int32_t kKeyBlack = 0x000000;
inline constexpr int32_t kKeyDateGrey = 0x3C3C3C;   // RGB 60, 60, 60
inline constexpr int32_t kKeyHandStrip = 0x1F1A17;  // RGB 31, 26, 23
inline constexpr int32_t kKeyOrangeRed = 0xFF4500;  // RGB 255, 69, 0

// The skin's own colours, for what is drawn at run time in its style (scroll bars).
inline constexpr int32_t kSkinTrough = 0x1B2128;  // RGB 27, 33, 40: the darkest slate
inline constexpr int32_t kSkinAccent = 0x26A69A;  // RGB 38, 166, 154

// One picture of the skins: its size, how many frames lie side by side in it, and the colour
// that marks its transparent places (kNoKey for an opaque picture).
struct SkinSpec {
  int id;
  int width;
  int height;
  int frames;
  int32_t key;
  int language;  // 0 English, 1 Chinese, -1 both
  const char* what;
};

std::span<const SkinSpec> SkinCatalog();
// Nothing for an id the skins do not have.
const SkinSpec* FindSkin(int id);

// The size of one frame of a picture whose frames lie side by side; 0 x 0 for an unknown id.
struct FrameSize {
  int width = 0;
  int height = 0;
};
FrameSize FrameOf(int id);

}  // namespace vantorel::res
