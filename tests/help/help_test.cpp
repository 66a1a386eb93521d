#include <gtest/gtest.h>

#include <QApplication>
#include <QPainterPath>
#include <QTest>

#include "controls/my_bitmap_button.h"
#include "controls/wnd_shadow.h"
#include "help/help_dlg.h"
#include "help/my_hyper_link.h"
#include "res/resource_ids.h"
#include "res/skins.h"

namespace vantorel {
namespace {

TEST(MyHyperLink, AClickVisitsOnlyWhenTheOpenWorks) {
  struct Case {
    const char* url;
    bool opens;
    bool visited;
  };
  for (const Case& c : {Case{"", false, true}, Case{"https://vantorel.example/", true, true},
                        Case{"https://vantorel.example/", false, false}}) {
    QWidget parent;
    MyHyperLink link(1044, &parent);
    link.SetNotifyParent(true);
    int opened = 0;
    link.SetOpener([&](const QUrl&) {
      ++opened;
      return c.opens;
    });
    link.SetLinkUrl(c.url);
    int notified = 0;
    QObject::connect(&link, &MyHyperLink::linkClicked,
                     [&](int id) { notified += id == 1044 ? 1 : 0; });
    link.Click();
    EXPECT_EQ(link.Visited(), c.visited) << c.url << c.opens;
    EXPECT_EQ(link.TextColour(), c.visited ? QColor(0, 104, 183) : QColor(0, 0, 0));
    EXPECT_EQ(opened, *c.url ? 1 : 0);
    EXPECT_EQ(notified, 1);
  }
}

TEST(MyHyperLink, LeavingEndsTheHoverUnlessAlwaysUnderlined) {
  for (const int mode : {-1, 1}) {
    QWidget parent;
    parent.resize(300, 100);
    MyHyperLink link(1044, &parent);
    link.SetLinkUrl(QStringLiteral("https://vantorel.example/"));
    link.SetUnderlineMode(mode);
    link.setGeometry(10, 10, 200, 20);
    parent.show();
    QCursor::setPos(link.mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(&link, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), link.mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&link, &move);
    ASSERT_TRUE(link.Hovering());
    EXPECT_TRUE(link.Underlined());
    EXPECT_TRUE(link.HoverWatchActive());
    EXPECT_EQ(link.TextColour(), QColor(230, 0, 17));
    QCursor::setPos(parent.mapToGlobal(QPoint(290, 90)));
    QTest::qWait(3 * MyHyperLink::kHoverWatchMs);
    if (QCursor::pos() != parent.mapToGlobal(QPoint(290, 90)))
      GTEST_SKIP() << "this platform keeps no cursor";
    EXPECT_FALSE(link.Hovering()) << mode;
    EXPECT_FALSE(link.HoverWatchActive()) << mode;
    EXPECT_EQ(link.Underlined(), mode == 1) << mode;
  }
}

TEST(HelpDlg, PictureAndLinkFollowTheLanguage) {
  HelpDlg help(Language::kEnglish);
  EXPECT_EQ(help.size(), QSize(593, 630));
  EXPECT_EQ(help.Background(), LoadSkin(res::kHelpEn));
  EXPECT_TRUE(help.Link()->text().startsWith("Calibrate @ "));
  help.show();
  help.SetLanguage(Language::kChinese);
  EXPECT_EQ(help.Background(), LoadSkin(res::kHelpZh));
  EXPECT_TRUE(help.Link()->text().startsWith(QStringLiteral("校准手表，请进入网站：")));
  EXPECT_EQ(help.ShapeCuts(), 1);  // the shape is cut once
  EXPECT_FALSE(help.Link()->isVisible());
  EXPECT_EQ(help.Link()->geometry(), QRect(50, 596, 500, 80));
  EXPECT_EQ(help.CloseButton()->pos(), QPoint(552, 10));
}

TEST(WndShadow, InitializeOnceAndSettersKeepTheirRanges) {
  WndShadow::Initialize();
  EXPECT_FALSE(WndShadow::Initialize());
  EXPECT_TRUE(WndShadow::Initialized());
  WndShadow shadow;
  shadow.SetPosition(8, 8);
  for (const auto& [x, y] : {std::pair{21, 0}, std::pair{0, -21}, std::pair{-21, 21}}) {
    shadow.SetPosition(x, y);
    EXPECT_EQ(shadow.Params().xOffset, 8);
    EXPECT_EQ(shadow.Params().yOffset, 8);
  }
  shadow.SetSize(21);
  shadow.SetSharpness(-1);
  shadow.SetSharpness(21);
  shadow.SetDarkness(256);
  EXPECT_EQ(shadow.Params().size, 0);
  EXPECT_EQ(shadow.Params().sharpness, 5);
  EXPECT_EQ(shadow.Params().darkness, 150);
}

TEST(WndShadow, FollowsTheWindowOnlyWhereComposited) {
  WndShadow::Initialize();
  QWidget window(nullptr, Qt::FramelessWindowHint);
  window.resize(640, 480);
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, 640, 480), 5, 5);
  window.setMask(QRegion(outline.toFillPolygon().toPolygon()));
  window.move(100, 100);
  for (const int composited : {0, 1}) {
    WndShadow shadow;
    shadow.SetCompositingOverride(composited);
    window.show();
    ASSERT_TRUE(shadow.Create(&window));
    EXPECT_FALSE(shadow.Create(&window));  // one window per shadow
    shadow.SetPosition(8, 8);
    EXPECT_EQ(shadow.isVisible(), composited == 1);
    if (composited == 0) continue;
    EXPECT_EQ(shadow.Picture().size(), QSize(640, 480));
    EXPECT_EQ(shadow.pos(), window.frameGeometry().topLeft() + QPoint(8, 8));
    window.move(150, 120);
    EXPECT_EQ(shadow.pos(), window.frameGeometry().topLeft() + QPoint(8, 8));
    window.hide();
    EXPECT_FALSE(shadow.isVisible());
    window.show();
    EXPECT_TRUE(shadow.isVisible());
    // The state itself, as a window manager's minimise sets it (the offscreen screen has none).
    window.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    ASSERT_TRUE(window.isMinimized());
    EXPECT_FALSE(shadow.isVisible());
    window.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    EXPECT_TRUE(shadow.isVisible());
  }
}

}  // namespace
}  // namespace vantorel
