#include "controls/my_bitmap_combobox.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

#include "controls/screen_fit.h"
#include "controls/skin_geometry.h"
#include "controls/skin_image.h"

namespace vantorel {
namespace {

constexpr int kSkinFrames = 4;

// Drop-down items drawn flat: white, or the highlight colours under the mouse.
class FlatItem final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool focused = option.state.testFlag(QStyle::State_MouseOver) ||
                         option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;
    painter->fillRect(option.rect,
                      focused ? palette.color(QPalette::Highlight) : QColor(Qt::white));
    painter->setPen(focused ? palette.color(QPalette::HighlightedText)
                            : palette.color(QPalette::WindowText));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(500, MyBitmapCombobox::kItemHeight);
  }
};

}  // namespace

MyBitmapCombobox::MyBitmapCombobox(QWidget* parent)
    : QComboBox(parent),
      m_tip(new QLabel(nullptr,
                       Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput)) {
  setItemDelegate(new FlatItem(this));
  // A drop-down list, not a menu laid over the face: the style's own pop-up would be centred on
  // the current row, as tall as the screen and as wide as the widest text.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  setMaxVisibleItems(kVisibleRows);
  view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SkinScrollBars(view());
  view()->parentWidget()->installEventFilter(this);
  view()->viewport()->installEventFilter(this);
  view()->viewport()->setMouseTracking(true);
  setAttribute(Qt::WA_Hover);
  m_tip->setAutoFillBackground(true);
  m_tip->setTextFormat(Qt::PlainText);
  QPalette tipColours = m_tip->palette();
  tipColours.setColor(QPalette::Window, palette().color(QPalette::Highlight));
  tipColours.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
  m_tip->setPalette(tipColours);
  m_tip->setContentsMargins(0, -1, 0, -1);
  connect(this, qOverload<int>(&QComboBox::activated), this, &MyBitmapCombobox::selectionChanged);
}

MyBitmapCombobox::~MyBitmapCombobox() {
  delete m_tip;
}

void MyBitmapCombobox::SetTextColors(QColor enabled, QColor disabled) {
  m_enabledText = enabled;
  m_disabledText = disabled;
  update();
}

void MyBitmapCombobox::SetTextMargins(int left, int top, int right, int bottom) {
  m_margins = QMargins(left, top, right, bottom);
  update();
}

bool MyBitmapCombobox::LoadSkin(int resourceId, QRgb transparent) {
  QImage skin = LoadKeyedSkin(resourceId, transparent);
  if (skin.isNull()) return false;
  m_skin = std::move(skin);
  m_frameWidth = LogicalSize(m_skin).width() / kSkinFrames;
  m_frameHeight = LogicalSize(m_skin).height();
  resize(m_frameWidth, height());
  show();
  update();
  return true;
}

int MyBitmapCombobox::FaceFrame() const {
  return isEnabled() ? static_cast<int>(m_state) : 0;
}

int MyBitmapCombobox::AddString(std::string_view text) {
  addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return count() - 1;
}

int MyBitmapCombobox::InsertString(int index, std::string_view text) {
  insertItem(index, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return index;
}

void MyBitmapCombobox::SetState(ButtonState state) {
  m_state = state;
  update();
}

void MyBitmapCombobox::paintEvent(QPaintEvent*) {
  if (m_skin.isNull()) return;
  QPainter painter(this);
  painter.drawImage(
      QPoint(0, 0), m_skin,
      ToPixels(m_skin, QRect(m_frameWidth * FaceFrame(), 0, m_frameWidth, m_frameHeight)));
  if (currentIndex() < 0) return;
  painter.setPen(FaceTextColour());
  painter.setFont(font());
  painter.drawText(QRect(0, 0, m_frameWidth, m_frameHeight).marginsRemoved(m_margins),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, currentText());
}

void MyBitmapCombobox::enterEvent(QEnterEvent* event) {
  SetState(ButtonState::kHover);
  QComboBox::enterEvent(event);
}

void MyBitmapCombobox::leaveEvent(QEvent* event) {
  SetState(ButtonState::kNormal);
  QComboBox::leaveEvent(event);
}

void MyBitmapCombobox::mousePressEvent(QMouseEvent* event) {
  // Where the pointer really is: under a reparenting window manager the toolkit's idea of a
  // dialog's place can lag behind where the manager put it, and the list must drop from the
  // face the user sees.
  m_pressOrigin = (event->globalPosition() - event->position()).toPoint();
  m_pressedOpen = true;
  SetState(ButtonState::kPressed);
  QComboBox::mousePressEvent(event);
}

void MyBitmapCombobox::mouseReleaseEvent(QMouseEvent* event) {
  m_pressedOpen = false;
  QComboBox::mouseReleaseEvent(event);
  SetState(ButtonState::kNormal);
}

void MyBitmapCombobox::mouseDoubleClickEvent(QMouseEvent* event) {
  SetState(ButtonState::kPressed);
  QComboBox::mouseDoubleClickEvent(event);
}

// Arrows, letters and F4 neither open the list nor change the choice; they go on to the
// window (Escape still closes a dialog). Keys with Alt (the system's own, such as Alt+Down)
// keep their usual meaning.
void MyBitmapCombobox::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers().testFlag(Qt::AltModifier)) {
    QComboBox::keyPressEvent(event);
    return;
  }
  event->ignore();
}

void MyBitmapCombobox::showPopup() {
  QComboBox::showPopup();
  QWidget* popup = view()->window();
  if (popup == window() || !popup->isVisible()) return;
  const QRect face = Face();
  const int rows = std::clamp(count(), 1, kVisibleRows);
  // The pop-up's own edges around the rows, as the toolkit laid them out.
  const int chrome = popup->height() - view()->viewport()->height();
  const QSize size(face.width(), rows * kItemHeight + chrome);
  const QRect shownFace = GlobalFace();
  QPoint at(shownFace.left(), shownFace.bottom() + 1);
  if (const QScreen* shown = screen()) {
    const QRect room = shown->availableGeometry();
    if (at.y() + size.height() > room.bottom() + 1) at.setY(shownFace.top() - size.height());
    const ScreenRect kept = KeptInside(ToScreenRect(QRect(at, size)), ToScreenRect(room));
    at = QPoint(kept.x, kept.y);
  }
  popup->setGeometry(QRect(at, size));
  view()->scrollTo(view()->currentIndex());
}

void MyBitmapCombobox::hidePopup() {
  m_listClosed = std::chrono::steady_clock::now();
  m_pressedOpen = false;
  m_tip->hide();
  QComboBox::hidePopup();
  SetState(ButtonState::kNormal);
}

bool MyBitmapCombobox::ListClosedJustNow() const {
  constexpr auto kSameKey = std::chrono::milliseconds(150);  // no hand presses twice so fast
  return std::chrono::steady_clock::now() - m_listClosed < kSameKey;
}

bool MyBitmapCombobox::TipVisible() const {
  return m_tip->isVisible();
}
QString MyBitmapCombobox::TipText() const {
  return m_tip->text();
}

void MyBitmapCombobox::UpdateTip(int row, const QRect& itemRect) {
  if (row < 0 || row >= count()) {
    m_tip->hide();
    return;
  }
  const QString text = itemText(row);
  if (!ComboItemNeedsTip(fontMetrics().horizontalAdvance(text), itemRect.width())) {
    m_tip->hide();
    return;
  }
  m_tip->setFont(font());
  m_tip->setText(text);
  m_tip->adjustSize();
  QPoint at(itemRect.left() + 1, itemRect.top());
  // The tip has no owner to be kept on the screen by: it keeps itself there.
  if (const QScreen* shown = screen()) {
    const QRect room = shown->availableGeometry();
    const ScreenRect kept = KeptInside(ToScreenRect(QRect(at, m_tip->size())), ToScreenRect(room));
    at = QPoint(kept.x, kept.y);
  }
  m_tip->move(at);
  m_tip->show();
}

QRect MyBitmapCombobox::Face() const {
  return m_skin.isNull() ? rect() : QRect(0, 0, m_frameWidth, m_frameHeight);
}

QRect MyBitmapCombobox::GlobalFace() const {
  const QPoint origin = m_pressedOpen ? m_pressOrigin : mapToGlobal(QPoint(0, 0));
  return Face().translated(origin);
}

bool MyBitmapCombobox::eventFilter(QObject* watched, QEvent* event) {
  // The list now opens below the face, so the release of the click that opened it lands
  // outside the list, where the toolkit takes it for a click away: over the face it is not.
  if (watched == view()->parentWidget() && event->type() == QEvent::MouseButtonRelease) {
    const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (GlobalFace().contains(at)) return true;
  }
  if (watched == view()->viewport()) {
    if (event->type() == QEvent::MouseMove) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      const QModelIndex index = view()->indexAt(at);
      // A row is as wide as the list shows it, whatever its measured width.
      QRect rect = view()->visualRect(index);
      rect.setWidth(std::min(rect.width(), view()->viewport()->width() - rect.left()));
      UpdateTip(index.isValid() ? index.row() : -1,
                QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
    } else if (event->type() == QEvent::Hide) {
      m_tip->hide();
    } else if (event->type() == QEvent::Leave) {
      // The tip itself, shown under the pointer, makes the toolkit send the list a leave: only
      // a pointer that really left the list hides it.
      QWidget* rows = view()->viewport();
      if (!rows->rect().contains(rows->mapFromGlobal(QCursor::pos()))) m_tip->hide();
    }
  }
  return QComboBox::eventFilter(watched, event);
}

}  // namespace vantorel
