// A pointer and a keyboard for a Wayland compositor that offers the wlroots virtual input
// protocols: what the end-to-end tests under sway press, move and type with, as a person's
// mouse and keys would. Each word of the command line is one step, done in order:
//   move X Y      the pointer to that point of the output, gliding there
//   down, up      the left button
//   click         down and up
//   drag DX DY    down, a move by that much in ten steps, up
//   key NAME      a key by its keysym name (Escape, Return, Tab, Down, a, ...), alt+NAME
//                 with Alt held
//   type TEXT     the keys of a text of plain ASCII letters, digits and . -
//   sleep MS      a pause
//   wl_input [--size WxH] STEP...
//   wl_input [--size WxH] -      the steps from standard input, a line at a time, each line
//                                answered with "done" once it is done: the pointer and
//                                keyboard then live between lines, as a person's do (a
//                                program closes its open list when the pointer goes away)
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct Globals {
  wl_seat* seat = nullptr;
  zwlr_virtual_pointer_manager_v1* pointers = nullptr;
  zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
  auto* g = static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && g->seat == nullptr) {
    g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    g->pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
  } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
    g->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
        wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
  }
  (void)version;
}
void GlobalGone(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistry = {Global, GlobalGone};

uint32_t Now() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

struct Keys {
  xkb_keymap* keymap = nullptr;
  xkb_mod_mask_t shift = 0;
  xkb_mod_mask_t alt = 0;

  // The evdev code of the key that gives the symbol, and whether it needs Shift.
  bool Find(xkb_keysym_t wanted, uint32_t* code, bool* shifted) const {
    for (xkb_keycode_t k = xkb_keymap_min_keycode(keymap); k <= xkb_keymap_max_keycode(keymap);
         ++k) {
      for (xkb_level_index_t level = 0; level < 2; ++level) {
        const xkb_keysym_t* syms = nullptr;
        const int n = xkb_keymap_key_get_syms_by_level(keymap, k, 0, level, &syms);
        for (int i = 0; i < n; ++i) {
          if (syms[i] == wanted) {
            *code = k - 8;
            *shifted = level == 1;
            return true;
          }
        }
      }
    }
    return false;
  }
};

class Input {
 public:
  Input(wl_display* display, zwlr_virtual_pointer_v1* pointer, zwp_virtual_keyboard_v1* keyboard,
        Keys keys, int width, int height)
      : m_display(display),
        m_pointer(pointer),
        m_keyboard(keyboard),
        m_keys(keys),
        m_width(width),
        m_height(height) {}

  // The pointer glides there as a hand moves it, and arrives by a last step of one pixel.
  // Entered by one leap, an Xwayland window is given the leap's distance again at the next
  // press: the compositor sends the entry and the relative motion together, and Xwayland keeps
  // the motion for the next frame, so the press lands far from where the pointer was.
  void Move(int x, int y) {
    const int x0 = m_x;
    const int y0 = m_y;
    constexpr int kSteps = 8;
    for (int step = 1; step < kSteps; ++step) {
      MoveTo(x0 + (x - x0) * step / kSteps, y0 + (y - y0) * step / kSteps);
    }
    // One pixel short, from the side it came from.
    if (x != x0) {
      MoveTo(x - (x > x0 ? 1 : -1), y);
    } else if (y != y0) {
      MoveTo(x, y - (y > y0 ? 1 : -1));
    }
    MoveTo(x, y);
  }
  void Button(bool down) {
    zwlr_virtual_pointer_v1_button(
        m_pointer, Now(), BTN_LEFT,
        down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(m_pointer);
    Flush();
  }
  void Drag(int dx, int dy) {
    const int x0 = m_x;
    const int y0 = m_y;
    Button(true);
    Pause(100);
    for (int step = 1; step <= 10; ++step) {
      MoveTo(x0 + dx * step / 10, y0 + dy * step / 10);
      Pause(20);
    }
    Pause(100);
    Button(false);
  }
  bool Key(xkb_keysym_t sym, xkb_mod_mask_t held = 0) {
    uint32_t code = 0;
    bool shifted = false;
    if (!m_keys.Find(sym, &code, &shifted)) return false;
    if (shifted) held |= m_keys.shift;
    if (held) zwp_virtual_keyboard_v1_modifiers(m_keyboard, held, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(m_keyboard, Now(), code, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(m_keyboard, Now(), code, WL_KEYBOARD_KEY_STATE_RELEASED);
    if (held) zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
    Flush();
    Pause(30);
    return true;
  }
  xkb_mod_mask_t Alt() const { return m_keys.alt; }
  void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

 private:
  void Flush() { wl_display_roundtrip(m_display); }
  void MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
    zwlr_virtual_pointer_v1_motion_absolute(
        m_pointer, Now(), static_cast<uint32_t>(x), static_cast<uint32_t>(y),
        static_cast<uint32_t>(m_width), static_cast<uint32_t>(m_height));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    Flush();
  }

  wl_display* m_display;
  zwlr_virtual_pointer_v1* m_pointer;
  zwp_virtual_keyboard_v1* m_keyboard;
  Keys m_keys;
  int m_width;
  int m_height;
  int m_x = 0;
  int m_y = 0;
};

int Usage() {
  std::fprintf(
      stderr,
      "usage: wl_input [--size WxH] STEP...\n"
      "  move X Y | down | up | click | drag DX DY | key [alt+]NAME | type TEXT | sleep MS\n");
  return 2;
}

int Steps(Input& input, const std::vector<std::string>& args, size_t at) {
  auto number = [&](size_t i) { return i < args.size() ? std::atoi(args[i].c_str()) : 0; };
  int status = 0;
  for (size_t i = at; i < args.size(); ++i) {
    const std::string& step = args[i];
    if (step == "move" && i + 2 < args.size()) {
      input.Move(number(i + 1), number(i + 2));
      i += 2;
    } else if (step == "down" || step == "up") {
      input.Button(step == "down");
    } else if (step == "click") {
      input.Button(true);
      input.Pause(50);
      input.Button(false);
    } else if (step == "drag" && i + 2 < args.size()) {
      input.Drag(number(i + 1), number(i + 2));
      i += 2;
    } else if (step == "key" && i + 1 < args.size()) {
      std::string name = args[++i];
      xkb_mod_mask_t held = 0;
      if (name.starts_with("alt+")) {
        held = input.Alt();
        name.erase(0, 4);
      }
      const xkb_keysym_t sym = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
      if (sym == XKB_KEY_NoSymbol || !input.Key(sym, held)) {
        std::fprintf(stderr, "wl_input: no key %s\n", args[i].c_str());
        status = 1;
      }
    } else if (step == "type" && i + 1 < args.size()) {
      for (const char c : args[++i]) {
        if (!input.Key(xkb_utf32_to_keysym(static_cast<unsigned char>(c)))) {
          std::fprintf(stderr, "wl_input: no key for '%c'\n", c);
          status = 1;
        }
      }
    } else if (step == "sleep" && i + 1 < args.size()) {
      input.Pause(number(++i));
    } else {
      Usage();
      status = 1;
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int width = 1366;
  int height = 768;
  size_t at = 0;
  if (args.size() >= 2 && args[0] == "--size") {
    if (std::sscanf(args[1].c_str(), "%dx%d", &width, &height) != 2) return Usage();
    at = 2;
  }
  if (at >= args.size()) return Usage();

  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "wl_input: no Wayland display\n");
    return 1;
  }
  Globals g;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistry, &g);
  wl_display_roundtrip(display);
  if (g.seat == nullptr || g.pointers == nullptr || g.keyboards == nullptr) {
    std::fprintf(stderr, "wl_input: the compositor offers no virtual pointer and keyboard\n");
    return 1;
  }

  // A keyboard needs its keymap before its first key: the default layout's, as text.
  Keys keys;
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  keys.keymap = xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (keys.keymap == nullptr) {
    std::fprintf(stderr, "wl_input: no keymap\n");
    return 1;
  }
  keys.shift = 1u << xkb_keymap_mod_get_index(keys.keymap, XKB_MOD_NAME_SHIFT);
  keys.alt = 1u << xkb_keymap_mod_get_index(keys.keymap, XKB_MOD_NAME_ALT);
  char* text = xkb_keymap_get_as_string(keys.keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
  const size_t size = std::strlen(text) + 1;
  const int fd = memfd_create("wl_input-keymap", MFD_CLOEXEC);
  if (fd < 0 || write(fd, text, size) != static_cast<ssize_t>(size)) return 1;
  std::free(text);

  zwlr_virtual_pointer_v1* pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g.pointers, g.seat);
  zwp_virtual_keyboard_v1* keyboard =
      zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(g.keyboards, g.seat);
  zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                 static_cast<uint32_t>(size));
  wl_display_roundtrip(display);
  close(fd);
  // A new keyboard's first keys are lost while the focused program takes its keymap in.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  Input input(display, pointer, keyboard, keys, width, height);
  int status = 0;
  const bool fromInput = args.size() == at + 1 && args[at] == "-";
  do {
    if (fromInput) {
      char buffer[4096];
      if (std::fgets(buffer, sizeof buffer, stdin) == nullptr) break;
      args.assign(1, std::string());
      for (char* word = std::strtok(buffer, " \t\n"); word != nullptr;
           word = std::strtok(nullptr, " \t\n")) {
        args.emplace_back(word);
      }
      at = 1;
    }
    if (Steps(input, args, at) != 0) status = 1;
    if (fromInput) {
      std::printf("done\n");
      std::fflush(stdout);
    }
  } while (fromInput);
  input.Pause(50);

  zwlr_virtual_pointer_v1_destroy(pointer);
  zwp_virtual_keyboard_v1_destroy(keyboard);
  wl_display_roundtrip(display);
  xkb_keymap_unref(keys.keymap);
  xkb_context_unref(context);
  wl_display_disconnect(display);
  return status;
}
