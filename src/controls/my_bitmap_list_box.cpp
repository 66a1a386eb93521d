#include "controls/my_bitmap_list_box.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

#include "controls/skin_image.h"
#include "res/skins.h"

namespace vantorel {
namespace {

constexpr int kTextInset = 6;
constexpr int kMostSmaller = 3;  // steps of a pixel or half a point
const QColor kItemText(220, 220, 220);

// Each item shows the top-left part of the selection picture when selected, else of the
// background picture, with its text inset 6 pixels.
class ItemPainter final : public QStyledItemDelegate {
 public:
  explicit ItemPainter(MyBitmapListBox* list) : QStyledItemDelegate(list), m_list(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QImage& picture = selected ? m_list->Selection() : m_list->Background();
    if (!picture.isNull()) {
      painter->drawImage(option.rect, picture,
                         ToPixels(picture, QRect(QPoint(0, 0), option.rect.size())));
    }
    // The text has the width the list shows, beside its scroll bar; a name too long for it
    // is set smaller rather than cut.
    QRect text = option.rect.adjusted(kTextInset, 0, -kTextInset, 0);
    text.setRight(std::min(text.right(), m_list->viewport()->width() - 1 - kTextInset));
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->setPen(kItemText);
    painter->setFont(FittingFont(option.font, name, text.width()));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                      painter->fontMetrics().elidedText(name, Qt::ElideMiddle, text.width()));
  }

  static QFont FittingFont(QFont font, const QString& name, int width) {
    for (int step = 0; step < kMostSmaller && QFontMetrics(font).horizontalAdvance(name) > width;
         ++step) {
      if (font.pixelSize() > 0) {
        font.setPixelSize(font.pixelSize() - 1);
      } else {
        font.setPointSizeF(font.pointSizeF() - 0.5);
      }
    }
    return font;
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(500, MyBitmapListBox::kItemHeight);
  }

 private:
  MyBitmapListBox* m_list;
};

}  // namespace

MyBitmapListBox::MyBitmapListBox(QWidget* parent) : QListWidget(parent) {
  setFrameShape(QFrame::NoFrame);
  setItemDelegate(new ItemPainter(this));
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAutoFillBackground(false);
  SkinScrollBars(this);
}

void MyBitmapListBox::SetBitmaps(int backgroundId, int selectionId) {
  if (QImage background = LoadSkin(backgroundId); !background.isNull()) {
    m_background = std::move(background);
    if (!m_sized) {
      resize(LogicalSize(m_background));
      m_sized = true;
    }
  }
  if (QImage selection = LoadSkin(selectionId); !selection.isNull())
    m_selection = std::move(selection);
  viewport()->update();
}

void MyBitmapListBox::paintEvent(QPaintEvent* event) {
  if (!m_background.isNull()) {
    QPainter painter(viewport());
    painter.drawImage(QPoint(0, 0), m_background);
  }
  QListWidget::paintEvent(event);
}

}  // namespace vantorel
