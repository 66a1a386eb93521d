#include "dialogs/calib_time_prompt_dlg.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "controls/my_bitmap_button.h"
#include "res/resource_ids.h"
#include "res/skins.h"

namespace vantorel {
namespace {

TEST(CalibTimePromptDlg, PicturesFollowTheLanguage) {
  struct Case {
    int language;
    int background;
    const char* title;
  };
  for (const Case& c : {Case{1, res::kPromptZh, "警示"}, Case{0, res::kPromptEn, "Prompt"},
                        Case{7, res::kPromptEn, "Prompt"}}) {
    CalibTimePromptDlg prompt(LanguageOf(c.language));
    EXPECT_EQ(prompt.Background(), LoadSkin(c.background)) << c.language;
    EXPECT_EQ(prompt.windowTitle(), QString::fromUtf8(c.title));
    EXPECT_EQ(prompt.size(), QSize(440, 277));
    EXPECT_EQ(prompt.OkButton()->pos(), QPoint(242, 224));
    EXPECT_EQ(prompt.CancelButton()->pos(), QPoint(329, 224));
    EXPECT_EQ(prompt.CloseButton()->pos(), QPoint(405, 5));
  }
}

TEST(CalibTimePromptDlg, OkAcceptsAndEverythingElseRejects) {
  struct Case {
    const char* what;
    std::function<void(CalibTimePromptDlg&)> act;
    int result;
  };
  const Case cases[] = {
      {"OK", [](CalibTimePromptDlg& d) { QTest::mouseClick(d.OkButton(), Qt::LeftButton); },
       QDialog::Accepted},
      {"Cancel", [](CalibTimePromptDlg& d) { QTest::mouseClick(d.CancelButton(), Qt::LeftButton); },
       QDialog::Rejected},
      {"close", [](CalibTimePromptDlg& d) { QTest::mouseClick(d.CloseButton(), Qt::LeftButton); },
       QDialog::Rejected},
      // Escape works even while a skinned button has the focus.
      {"Escape",
       [](CalibTimePromptDlg& d) {
         d.OkButton()->setFocus();
         QTest::keyClick(d.OkButton(), Qt::Key_Escape);
       },
       QDialog::Rejected},
  };
  for (const Case& c : cases) {
    CalibTimePromptDlg prompt(Language::kEnglish);
    QTimer::singleShot(0, &prompt, [&] { c.act(prompt); });
    EXPECT_EQ(prompt.exec(), c.result) << c.what;
  }
}

}  // namespace
}  // namespace vantorel
