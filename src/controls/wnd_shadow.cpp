#include "controls/wnd_shadow.h"

#include <QBitmap>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include "controls/x11_desktop.h"
#include "platform/composition.h"

namespace vantorel {
namespace {

bool g_initialized = false;
constexpr int kLimit = 20;

bool InRange(int value, int low, int high) {
  return value >= low && value <= high;
}

#if defined(VANTOREL_HAVE_XCB)
// On X11 a compositing manager owns the selection _NET_WM_CM_S<screen>.
bool X11CompositorRunning() {
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr) return false;
  // The selection is looked at twice a second: its name is asked for once.
  static const xcb_atom_t selection = X11Atom(connection, "_NET_WM_CM_S0");
  if (selection == xcb_atom_t{XCB_ATOM_NONE}) return false;
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, selection), nullptr);
  const bool running = owner != nullptr && owner->owner != XCB_NONE;
  free(owner);
  return running;
}

// An X server that is a Wayland compositor's (Xwayland): the compositor places the windows
// itself and may undo the program's moves, so a shadow would be left behind where the window
// first stood.
bool X11OnWayland() {
  // The server does not change under a running program: asked once, though the shadow asks
  // twice a second.
  static const bool onWayland = [] {
    // Its outputs are named XWAYLAND0, 1, ...; newer ones also carry the XWAYLAND extension.
    for (const QScreen* screen : QGuiApplication::screens()) {
      if (screen->name().startsWith(QLatin1String("XWAYLAND"))) return true;
    }
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) return false;
    const char name[] = "XWAYLAND";
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
    const bool present = reply != nullptr && reply->present != 0;
    free(reply);
    return present;
  }();
  return onWayland;
}
#endif

}  // namespace

bool WndShadow::Initialize() {
  if (g_initialized) return false;
  g_initialized = true;
  return true;
}

bool WndShadow::Initialized() {
  return g_initialized;
}

bool WndShadow::CompositingActive() {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen")) return false;
  if (const auto composites = platform::SystemComposites()) return *composites;
#if defined(VANTOREL_HAVE_XCB)
  if (platform == QLatin1String("xcb")) return !X11OnWayland() && X11CompositorRunning();
#endif
  // Wayland composites, but a client cannot place its own top-level windows: a shadow would
  // land wherever the compositor puts it.
  if (platform.startsWith(QLatin1String("wayland"))) return false;
  // macOS always composites translucent windows.
  return true;
}

WndShadow::WndShadow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint) {
  setWindowTitle(QStringLiteral("QUMRA shadow"));
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

WndShadow::~WndShadow() {
  if (m_parent != nullptr) m_parent->removeEventFilter(this);
}

bool WndShadow::Create(QWidget* parent) {
  if (!g_initialized || parent == nullptr || m_parent != nullptr) return false;
  m_parent = parent;
  parent->installEventFilter(this);
  // Owned by the window it follows, so the window manager stacks the two together.
  winId();
  parent->window()->winId();
  if (windowHandle() != nullptr)
    windowHandle()->setTransientParent(parent->window()->windowHandle());
  m_wasComposited = Composited();
  m_compositionWatch.setInterval(kCompositionWatchMs);
  connect(&m_compositionWatch, &QTimer::timeout, this, [this] {
    const bool composited = Composited();
    if (composited == m_wasComposited) return;
    m_wasComposited = composited;
    ShowForParent();
  });
  m_compositionWatch.start();
  connect(parent, &QObject::destroyed, this, [this] {
    m_parent = nullptr;
    hide();
  });
  ShowForParent();
  return true;
}

void WndShadow::SetPosition(int x, int y) {
  if (!InRange(x, -kLimit, kLimit) || !InRange(y, -kLimit, kLimit)) return;
  m_params.xOffset = static_cast<int8_t>(x);
  m_params.yOffset = static_cast<int8_t>(y);
  if (isVisible()) UpdatePicture();
}

void WndShadow::SetSize(int size) {
  if (!InRange(size, -kLimit, kLimit)) return;
  m_params.size = static_cast<int8_t>(size);
  if (isVisible()) UpdatePicture();
}

void WndShadow::SetSharpness(int sharpness) {
  if (!InRange(sharpness, 0, kLimit)) return;
  m_params.sharpness = static_cast<uint8_t>(sharpness);
  if (isVisible()) UpdatePicture();
}

void WndShadow::SetDarkness(int darkness) {
  if (!InRange(darkness, 0, 255)) return;
  m_params.darkness = static_cast<uint8_t>(darkness);
  if (isVisible()) UpdatePicture();
}

void WndShadow::SetColor(uint32_t colorref) {
  m_params.color = colorref & 0xFFFFFF;
  if (isVisible()) UpdatePicture();
}

bool WndShadow::Composited() const {
  return m_compositingOverride >= 0 ? m_compositingOverride != 0 : CompositingActive();
}

void WndShadow::ShowForParent() {
  const bool wanted = m_parent != nullptr && m_parent->isVisible() && Composited() &&
                      !(m_parent->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
  if (!wanted) {
    hide();
    return;
  }
  UpdatePicture();
  show();
  // Behind the window it belongs to.
  m_parent->raise();
}

void WndShadow::Place() {
  const QRect r = m_parent->frameGeometry();
  move(r.left() + m_params.xOffset - m_params.size, r.top() + m_params.yOffset - m_params.size);
}

void WndShadow::UpdatePicture() {
  if (m_parent == nullptr) return;
  const int w = m_parent->width();
  const int h = m_parent->height();
  const QRegion shape = m_parent->mask().isEmpty() ? QRegion(0, 0, w, h) : m_parent->mask();
  const auto rows = ShapeRows(w, h, [&](int x, int y) { return shape.contains(QPoint(x, y)); });
  const std::vector<uint32_t> pixels = MakeShadow(rows, w, h, m_params);
  const int sw = w + 2 * m_params.size;
  const int sh = h + 2 * m_params.size;
  m_picture = QImage(sw, sh, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < sh; ++y) {
    std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * sw, sw,
                reinterpret_cast<uint32_t*>(m_picture.scanLine(y)));
  }
  resize(sw, sh);
  Place();
  update();
}

bool WndShadow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_parent) return false;
  switch (event->type()) {
    case QEvent::Move:
      if (isVisible()) Place();
      break;
    case QEvent::Resize:
      if (isVisible()) UpdatePicture();
      break;
    case QEvent::Show:
    case QEvent::WindowStateChange:
      ShowForParent();
      break;
    case QEvent::Hide:
      hide();
      break;
    default:
      break;
  }
  return false;
}

void WndShadow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), m_picture);
}

}  // namespace vantorel
