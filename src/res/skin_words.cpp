#include "res/skin_words.h"

namespace vantorel::res {

std::string Spoken(std::string_view drawn) {
  std::string spoken;
  spoken.reserve(drawn.size());
  for (size_t i = 0; i < drawn.size(); ++i) {
    // A space with a byte of a multi-byte character on each side only spaces the drawing.
    const bool between = drawn[i] == ' ' && i > 0 && i + 1 < drawn.size() &&
                         static_cast<unsigned char>(drawn[i - 1]) >= 0x80 &&
                         static_cast<unsigned char>(drawn[i + 1]) >= 0x80;
    if (!between) spoken += drawn[i];
  }
  return spoken;
}

}  // namespace vantorel::res
