// Renders every skinned control in each of its states into one picture, for review by eye:
// control_gallery OUTPUT.png
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <cstdio>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "clocks/analog_clock.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_combobox.h"
#include "controls/my_bitmap_list_box.h"
#include "controls/my_bitmap_progress.h"
#include "controls/my_bitmap_tab_ctrl.h"
#include "controls/my_message_box.h"
#include "controls/skin_image.h"
#include "res/resource_ids.h"

namespace {

using namespace vantorel;

struct Shot {
  QString label;
  QImage image;
};

// A control as its window shows it: drawn over the face behind it, where its key-coloured
// pixels are transparent.
QImage Composed(QWidget& control) {
  return control.parentWidget()->grab(control.geometry()).toImage();
}

void Enter(QWidget& widget) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(&widget, &enter);
}

void Press(QWidget& widget) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
}

// One control in its four faces: disabled, normal, hover, pressed.
template <typename Control>
void FourFaces(QWidget& board, std::vector<Shot>& shots, const QString& name,
               const std::function<void(Control&)>& setUp) {
  const char* faces[4] = {"disabled", "normal", "hover", "pressed"};
  for (int face = 0; face < 4; ++face) {
    auto control = [&] {
      if constexpr (std::is_same_v<Control, MyBitmapButton>) {
        return std::make_unique<Control>(0, &board);
      } else {
        return std::make_unique<Control>(&board);
      }
    }();
    setUp(*control);
    control->show();
    if (face == 0) control->setEnabled(false);
    if (face >= 2) Enter(*control);
    if (face == 3) Press(*control);
    shots.push_back({name + " " + faces[face], Composed(*control)});
  }
}

QImage Board(const std::vector<Shot>& shots) {
  const int width = 1400;
  int x = 10;
  int y = 10;
  int row = 0;
  std::vector<QPoint> places;
  for (const Shot& shot : shots) {
    const int w = std::max(shot.image.width(), 120);
    if (x + w > width - 10) {
      x = 10;
      y += row + 28;
      row = 0;
    }
    places.emplace_back(x, y);
    x += w + 14;
    row = std::max(row, shot.image.height());
  }
  QImage board(width, y + row + 40, QImage::Format_RGB32);
  board.fill(QColor(110, 116, 122));
  QPainter p(&board);
  p.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  for (size_t i = 0; i < shots.size(); ++i) {
    p.drawImage(places[i], shots[i].image);
    p.drawText(QRect(places[i].x(), places[i].y() + shots[i].image.height() + 2, 300, 14),
               Qt::AlignLeft, shots[i].label);
  }
  return board;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  // The dialogs' face colour behind every control, as in the windows.
  QWidget board;
  board.resize(1000, 800);
  QPalette face = board.palette();
  face.setColor(QPalette::Window, QColor(38, 47, 56));
  board.setPalette(face);
  board.setAutoFillBackground(true);
  board.show();
  std::vector<Shot> shots;

  struct ButtonSkin {
    int id;
    QRgb key;
    const char* name;
  };
  const ButtonSkin buttons[] = {
      {res::kCloseButton, kRedKey, "close"},
      {res::kSettingButton, kRedKey, "setting"},
      {res::kMinimiseButton, kRedKey, "minimise"},
      {res::kHelpButton, kRedKey, "help"},
      {res::kUpdateButtonEn, kRedKey, "Update"},
      {res::kUpdateButtonZh, kRedKey, "Update zh"},
      {res::kCalibrateButtonEn, kRedKey, "Calibrate"},
      {res::kCalibrateButtonZh, kRedKey, "Calibrate zh"},
      {res::kWelcomeOkEn, kRedKey, "OK"},
      {res::kWelcomeCancelZh, kRedKey, "Cancel zh"},
      {res::kRestoreEn, kRedKey, "Restore"},
      {res::kAddButtonEn, qRgb(0, 0, 0), "Add"},
      {res::kEditButtonZh, qRgb(0, 0, 0), "Edit zh"},
      {res::kDeleteButtonEn, qRgb(0, 0, 0), "Delete"},
  };
  for (const ButtonSkin& skin : buttons) {
    FourFaces<MyBitmapButton>(board, shots, skin.name, [&](MyBitmapButton& b) {
      b.SetBitmap(skin.id, skin.key, false, true);
    });
  }
  for (const int checked : {0, 1}) {
    FourFaces<MyBitmapButton>(board, shots, checked ? "check box, checked" : "check box",
                              [&](MyBitmapButton& b) {
                                b.SetBitmap(res::kCheckBox, kRedKey, true, true);
                                b.SetCheck(checked);
                              });
  }
  for (const int mode : {0, 1}) {
    for (const int position : {0, 12, 24, 48}) {
      MyBitmapProgress progress(&board);
      progress.SetBitmaps(res::kProgressTrough, res::kProgressBar, res::kProgressBarAlternative,
                          qRgb(255, 255, 255));
      progress.SetRange(0, 48);
      progress.SetPos(position);
      progress.SetBarMode(static_cast<BarMode>(mode));
      shots.push_back(
          {QStringLiteral("progress %1/48 mode %2").arg(position).arg(mode), Composed(progress)});
    }
  }
  for (const int strip : {res::kTabStripEn, res::kTabStripZh}) {
    for (int selected = 0; selected < 3; ++selected) {
      MyBitmapTabCtrl tabs(&board);
      tabs.SetBitmap(strip, kRedKey);
      tabs.SetCurSel(selected);
      const int hover = (selected + 1) % 3;
      QMouseEvent move(QEvent::MouseMove, QPointF(103 * hover + 20, 10),
                       QPointF(103 * hover + 20, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&tabs, &move);
      shots.push_back(
          {QStringLiteral("tabs %1 selected, %2 hover").arg(selected).arg(hover), Composed(tabs)});
    }
  }
  struct ComboSkin {
    int id;
    QRgb key;
  };
  for (const ComboSkin& skin :
       {ComboSkin{res::kComboWelcomeLanguage, kRedKey}, ComboSkin{res::kComboWelcomeZone, kRedKey},
        ComboSkin{res::kComboLanguagePage, kRedKey},
        ComboSkin{res::kComboZonePage, qRgb(255, 69, 0)}}) {
    FourFaces<MyBitmapCombobox>(board, shots, QStringLiteral("combo %1").arg(skin.id),
                                [&](MyBitmapCombobox& c) {
                                  c.resize(100, 34);
                                  c.SetTextColors(QColor(240, 240, 240), QColor(128, 128, 128));
                                  c.SetTextMargins(20, 0, 30, 0);
                                  c.LoadSkin(skin.id, skin.key);
                                  c.AddString("(GMT+08:00) Beijing, Chongqing");
                                  c.SetCurSel(0);
                                });
  }
  {
    MyBitmapListBox list(&board);
    list.SetBitmaps(res::kServerList, res::kServerListSelection);
    for (const char* name : {"time.google.com", "ntp.nict.jp", "ptbtime1.ptb.de", "a.st1.ntp.br"})
      list.addItem(name);
    list.setCurrentRow(2);
    list.show();
    shots.push_back({QStringLiteral("server list, item 2 selected"), Composed(list)});
  }
  for (const auto& [h, m, s] : {std::tuple{3, 0, 0}, std::tuple{12, 59, 59}, std::tuple{15, 36, 0},
                                std::tuple{10, 10, 44}}) {
    AnalogClock clock(&board);
    clock.Prepare();
    clock.Start();
    platform::SystemTime t;
    t.wHour = static_cast<uint16_t>(h);
    t.wMinute = static_cast<uint16_t>(m);
    t.wSecond = static_cast<uint16_t>(s);
    clock.SetTime(&t);
    shots.push_back({QStringLiteral("clock %1:%2:%3")
                         .arg(h)
                         .arg(m, 2, 10, QChar('0'))
                         .arg(s, 2, 10, QChar('0')),
                     clock.Frame()});
  }
  for (const Language language : {Language::kEnglish, Language::kChinese}) {
    MyMessageBox box;
    box.setWindowTitle(QStringLiteral("Vantorel"));
    box.findChild<QLabel*>()->setText(
        InLanguage(language, "Delete the selected server?", "确定要删除这个服务器吗?"));
    box.Button(MyMessageBox::kIdOk)
        ->setText(MyMessageBox::ButtonText(MyMessageBox::kIdOk, 4, language));
    box.Button(MyMessageBox::kIdCancel)
        ->setText(MyMessageBox::ButtonText(MyMessageBox::kIdCancel, 4, language));
    box.show();
    shots.push_back(
        {QStringLiteral("message box, language %1").arg(IndexOf(language)), box.grab().toImage()});
  }
  return Board(shots).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
