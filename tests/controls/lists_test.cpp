#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "controls/my_bitmap_combobox.h"
#include "controls/my_bitmap_list_box.h"
#include "controls/my_message_box.h"
#include "controls/skin_image.h"
#include "dialogs/zone_combo_list.h"
#include "res/resource_ids.h"
#include "res/skins.h"
#include "support/fakes.h"
#include "timezone/time_zone_table.h"
#include "timezone/zone_time.h"

namespace vantorel {
namespace {

const QRgb kRed = qRgb(255, 0, 0);

struct Combo {
  QWidget parent;
  MyBitmapCombobox box{&parent};
  Combo() {
    parent.resize(400, 200);
    box.resize(100, 34);
    box.SetTextColors(QColor(240, 240, 240), QColor(128, 128, 128));
    box.SetTextMargins(20, 0, 30, 0);
    EXPECT_TRUE(box.LoadSkin(res::kComboWelcomeLanguage, kRed));
    for (const char* item : {"English", "中文", "A third item"}) box.AddString(item);
    parent.show();
  }
};

TEST(MyBitmapCombobox, SkinSizesTheFaceAndKeysChangeNothing) {
  Combo c;
  EXPECT_EQ(c.box.width(), 212);
  c.box.SetCurSel(1);
  c.box.setFocus();
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_E,
                            Qt::Key_F4, Qt::Key_Space, Qt::Key_PageDown}) {
    QTest::keyClick(&c.box, key);
    EXPECT_EQ(c.box.currentIndex(), 1) << key;
    EXPECT_FALSE(c.box.view()->isVisible()) << key;
  }
}

TEST(MyBitmapCombobox, FaceFrameAndTextColour) {
  Combo c;
  EXPECT_EQ(c.box.FaceFrame(), 1);
  EXPECT_EQ(c.box.FaceTextColour(), QColor(240, 240, 240));
  c.box.setEnabled(false);
  EXPECT_EQ(c.box.FaceFrame(), 0);
  EXPECT_EQ(c.box.FaceTextColour(), QColor(128, 128, 128));

  // With no item selected the face is the skin frame alone.
  c.box.setCurrentIndex(-1);
  const QImage face = c.box.grab().toImage();
  const QImage skin = LoadKeyedSkin(res::kComboWelcomeLanguage, kRed);
  int compared = 0;
  for (int y = 0; y < 34; y += 3) {
    for (int x = 0; x < 212; x += 3) {
      if (qAlpha(skin.pixel(x, y)) == 0) continue;
      ASSERT_EQ(face.pixel(x, y) & 0xFFFFFF, skin.pixel(x, y) & 0xFFFFFF) << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 500);
  c.box.SetCurSel(0);
  EXPECT_NE(c.box.grab().toImage(), face);  // the item's text is drawn on it
}

TEST(MyBitmapCombobox, TipOnlyForItemsWiderThanTheListLessSix) {
  Combo c;
  const int text = c.box.fontMetrics().horizontalAdvance(c.box.itemText(2));
  c.box.UpdateTip(2, QRect(50, 50, text + 6, 16));
  EXPECT_FALSE(c.box.TipVisible());
  c.box.UpdateTip(2, QRect(50, 50, text + 5, 16));
  EXPECT_TRUE(c.box.TipVisible());
  EXPECT_EQ(c.box.TipText(), "A third item");
  c.box.UpdateTip(-1, {});
  EXPECT_FALSE(c.box.TipVisible());

  // In the open list, the pointer over a row too long for it shows the tip; over a short row
  // it goes.
  c.box.AddString("(GMT-03:00) Buenos Aires, Georgetown, a name longer than the list");
  c.box.showPopup();
  QAbstractItemView* list = c.box.view();
  const auto hover = [&](int row) {
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center() - QPoint(40, 0);
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
  };
  hover(3);
  ASSERT_TRUE(c.box.TipVisible());
  EXPECT_EQ(c.box.TipText(), c.box.itemText(3));
  hover(0);
  EXPECT_FALSE(c.box.TipVisible());
  hover(3);
  ASSERT_TRUE(c.box.TipVisible());
  c.box.hidePopup();  // closing the list hides the tip and returns the face to normal
  EXPECT_FALSE(c.box.TipVisible());
  EXPECT_EQ(c.box.FaceFrame(), 1);
}

TEST(MyBitmapCombobox, ParentHearsAPickNotAProgrammaticSelection) {
  Combo c;
  QSignalSpy picks(&c.box, &MyBitmapCombobox::selectionChanged);
  c.box.SetCurSel(2);
  EXPECT_EQ(picks.count(), 0);
  c.box.showPopup();
  // The user moves to the second item of the open list and takes it.
  QAbstractItemView* list = c.box.view();
  list->setCurrentIndex(list->model()->index(1, 0));
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_EQ(picks.count(), 1);
  EXPECT_EQ(picks.at(0).at(0).toInt(), 1);
  EXPECT_EQ(c.box.currentIndex(), 1);
  c.box.showPopup();
  list->setCurrentIndex(list->model()->index(2, 0));  // highlighted, not taken
  c.box.hidePopup();  // closing the list without a pick tells the parent nothing
  EXPECT_EQ(picks.count(), 1);
  EXPECT_EQ(c.box.currentIndex(), 1);
}

TEST(MyBitmapCombobox, FillsAsAZoneList) {
  Combo c;
  c.box.ResetContent();
  const test::FixedHostZone china(-480, "China Standard Time");
  int selected = -1;
  ZoneComboList zones(c.box);
  FillZoneList(zones, Language::kEnglish, &selected, china);
  EXPECT_EQ(c.box.count(), kTimeZoneCount);
  EXPECT_EQ(c.box.currentIndex(), 56);
  EXPECT_EQ(c.box.itemData(50).toInt(), 575);
  FillZoneList(zones, Language::kChinese, &selected, china);
  EXPECT_EQ(c.box.count(), kTimeZoneCount);
  EXPECT_EQ(c.box.currentIndex(), 56);
  EXPECT_EQ(c.box.itemText(56), QString::fromUtf8(kTimeZones[56].chineseDisplay));
}

TEST(MyBitmapListBox, ItemsOnTheirPictures) {
  QWidget parent;
  MyBitmapListBox list(&parent);
  list.SetBitmaps(res::kServerList, res::kServerListSelection);
  EXPECT_EQ(list.size(), QSize(167, 145));
  for (const char* name : {"a.example", "b.example", "c.example"}) list.addItem(name);
  list.setCurrentRow(2);
  parent.show();
  const QImage shown = list.grab().toImage();
  const QImage selection = LoadSkin(res::kServerListSelection);
  const QImage background = LoadSkin(res::kServerList);
  // Column 1 holds no text: it is the picture's own pixel.
  EXPECT_EQ(shown.pixel(1, 2 * 16 + 8) & 0xFFFFFF, selection.pixel(1, 8) & 0xFFFFFF);
  EXPECT_EQ(shown.pixel(1, 0 * 16 + 8) & 0xFFFFFF, background.pixel(1, 8) & 0xFFFFFF);
  list.SetBitmaps(9998, 9999);  // missing pictures keep the old ones
  EXPECT_FALSE(list.Background().isNull());
}

TEST(MyMessageBox, WordingFollowsTypeAndLanguage) {
  struct Case {
    int type;
    int language;
    const char* ok;
    const char* cancel;
  };
  const Case cases[] = {
      {4, 0, "Yes", "No"}, {4, 1, "确定", "取消"}, {1, 0, "OK", "Cancel"}, {0, 1, "确定", "取消"}};
  for (const Case& c : cases) {
    EXPECT_EQ(MyMessageBox::ButtonText(MyMessageBox::kIdOk, c.type, LanguageOf(c.language)),
              QString::fromUtf8(c.ok));
    EXPECT_EQ(MyMessageBox::ButtonText(MyMessageBox::kIdCancel, c.type, LanguageOf(c.language)),
              QString::fromUtf8(c.cancel));
  }
}

TEST(MyMessageBox, AnswersAndShowsTextVerbatim) {
  struct Case {
    std::function<void(MyMessageBox&)> act;
    int result;
  };
  const Case cases[] = {
      {[](MyMessageBox& box) { box.Button(MyMessageBox::kIdOk)->click(); }, MyMessageBox::kIdOk},
      {[](MyMessageBox& box) { box.Button(MyMessageBox::kIdCancel)->click(); },
       MyMessageBox::kIdCancel},
      {[](MyMessageBox& box) { box.close(); }, MyMessageBox::kIdCancel},  // the close box
      {[](MyMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, MyMessageBox::kIdCancel},
      // Every way out but OK counts as Cancel, so the keys are told apart by Enter's OK.
      {[](MyMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, MyMessageBox::kIdOk},
  };
  for (const Case& c : cases) {
    MyMessageBox box;
    QTimer::singleShot(0, &box, [&] { c.act(box); });
    EXPECT_EQ(box.Show(QStringLiteral("Delete 100% of <b>%s</b>?"), QStringLiteral("Vantorel"), 4,
                       Language::kEnglish),
              c.result);
    EXPECT_EQ(box.Text(), QStringLiteral("Delete 100% of <b>%s</b>?"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Vantorel"));
    EXPECT_EQ(box.Button(MyMessageBox::kIdCancel)->text(), QStringLiteral("No"));
  }
}

}  // namespace
}  // namespace vantorel
