#include "dialogs/setting_dlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_combobox.h"
#include "controls/my_bitmap_list_box.h"
#include "controls/my_bitmap_tab_ctrl.h"
#include "dialogs/setting_pages.h"
#include "dialogs/welcome_dlg.h"
#include "res/resource_ids.h"
#include "res/skins.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "timezone/time_zone_table.h"

namespace vantorel {
namespace {

const test::FixedHostZone kChina(-480, "China Standard Time");

struct Settings {
  test::TempDir dir;
  std::filesystem::path file = dir.File("Setting.ini");
  explicit Settings(const std::string& content) { test::WriteFile(file, content); }
  std::string Text() const { return test::ReadFile(file); }
};

TEST(SettingDlg, RestoreButtonOnlyOnTheServerTab) {
  Settings s("[Vantorel]\n");
  SettingDlg dlg(s.file, nullptr, kChina);
  dlg.show();
  EXPECT_EQ(dlg.size(), QSize(440, 277));
  EXPECT_FALSE(dlg.RestoreButton()->isVisible());
  for (const int language : {0, 1}) {
    dlg.SetLanguage(LanguageOf(language));  // a language change re-skins Restore without showing it
    for (const auto& [tab, shown] :
         {std::pair{1, true}, std::pair{0, false}, std::pair{2, false}, std::pair{1, true}}) {
      dlg.SelectTab(tab);
      EXPECT_EQ(dlg.RestoreButton()->isVisible(), shown) << tab;
      EXPECT_EQ(dlg.ServerPage()->isVisible(), tab == 1);
      EXPECT_EQ(dlg.LanguagePage()->isVisible(), tab == 2);
    }
    dlg.SelectTab(0);
    dlg.SetLanguage(LanguageOf(1 - language));
    EXPECT_FALSE(dlg.RestoreButton()->isVisible());
  }
}

TEST(SettingDlg, LanguageTakesEffectOnlyOnOk) {
  const std::string before = "[Vantorel]\nnSelLanguageIndex=0\n";
  {
    Settings s(before);
    SettingDlg dlg(s.file, nullptr, kChina);
    dlg.OnSettingLanguage(Language::kChinese);
    dlg.reject();
    EXPECT_EQ(s.Text(), before);  // Cancel writes nothing
  }
  Settings s(before);
  SettingDlg dlg(s.file, nullptr, kChina);
  dlg.show();
  dlg.SelectTab(2);
  MyBitmapCombobox* languages = dlg.LanguagePage()->Languages();
  languages->setCurrentIndex(1);  // no selection event: only Enter takes it
  QTest::keyClick(languages, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible()) << "Enter inside the language page closes nothing";
  EXPECT_EQ(dlg.Background(), LoadSkin(res::kSettingsEn));  // not re-skinned yet
  QTest::keyClick(&dlg, Qt::Key_Return);                    // anywhere else Enter is OK
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Background(), LoadSkin(res::kSettingsZh));
  SettingsRecord saved;
  LoadSettings(&saved, s.file);
  EXPECT_EQ(saved.nSelLanguageIndex, 1);
  EXPECT_EQ(saved.nSelTimeZoneIndex, 56);  // the page stored the matched row
}

TEST(SettingDlg, RestoringTheBuiltInListStoresAutomaticChoice) {
  Settings s("[Vantorel]\nbDefualtServers=0\nstrServers=a;b\nnSelNTPServerIndex=1\n");
  SettingDlg dlg(s.file, nullptr, kChina);
  dlg.SelectTab(SettingDlg::kServerTab);
  QTest::mouseClick(dlg.RestoreButton(), Qt::LeftButton);
  EXPECT_EQ(dlg.ServerPage()->List()->count(), static_cast<int>(kDefaultServerCount));
  dlg.OnOk();
  SettingsRecord saved;
  LoadSettings(&saved, s.file);
  EXPECT_EQ(saved.nSelNTPServerIndex, -1);
  EXPECT_EQ(saved.bDefualtServers, 1);
}

TEST(SettingNTPServer, ButtonsEditThroughTheirDialogs) {
  Settings s("[Vantorel]\nbDefualtServers=0\nstrServers=a;b\n");
  SettingDlg dlg(s.file, nullptr, kChina);
  SettingNTPServer* page = dlg.ServerPage();
  std::optional<std::string> answer = "ntp.example";
  page->SetNamePrompt([&](bool, const std::string&, Language) { return answer; });
  bool yes = false;
  page->SetConfirm([&](Language) { return yes; });
  page->OnAdd();
  EXPECT_EQ(page->List()->count(), 3);
  EXPECT_EQ(page->List()->currentRow(), 2);
  answer = "A";  // a case twin of an existing name only selects it
  page->OnAdd();
  EXPECT_EQ(page->List()->count(), 3);
  EXPECT_EQ(page->List()->currentRow(), 0);
  page->OnDelete();  // "No"
  EXPECT_EQ(page->List()->count(), 3);
  yes = true;
  page->List()->setCurrentRow(2);
  page->OnDelete();
  EXPECT_EQ(page->List()->count(), 2);
  EXPECT_EQ(page->List()->currentRow(), 1);
  dlg.OnOk();
  SettingsRecord saved;
  LoadSettings(&saved, s.file);
  EXPECT_EQ(saved.strServers, "a;b");
  EXPECT_EQ(saved.nSelNTPServerIndex, 1);
}

TEST(SettingTimezone, ShowsAndStoresTheRecord) {
  SettingsRecord record;
  record.nSelTimeZoneIndex = 56;
  record.bDST = 1;
  SettingTimezone page(nullptr, kChina);
  page.SetSettings(&record);
  page.SetLanguage(Language::kEnglish);
  EXPECT_EQ(page.Zones()->currentIndex(), 56);
  EXPECT_EQ(page.Dst()->GetCheck(), 1);
  page.Zones()->setCurrentIndex(30);  // the user's pick, not the record's, survives relabelling
  page.SetLanguage(Language::kChinese);
  EXPECT_EQ(page.Zones()->currentIndex(), 30);
  EXPECT_EQ(page.Zones()->itemText(30), QString::fromUtf8(kTimeZones[30].chineseDisplay));
  page.Zones()->setCurrentIndex(56);
  record.bDST = 0;
  page.StoreSettings();
  EXPECT_EQ(record.nSelTimeZoneIndex, 56);
  EXPECT_EQ(record.bDST, 1);

  page.Zones()->setCurrentIndex(-1);  // no selection is stored as 65535
  page.StoreSettings();
  EXPECT_EQ(record.nSelTimeZoneIndex, 65535);

  SettingsRecord none;  // no zone in the file: the host's row
  SettingTimezone fresh(nullptr, kChina);
  fresh.SetSettings(&none);
  fresh.SetLanguage(Language::kEnglish);
  EXPECT_EQ(fresh.Zones()->currentIndex(), 56);
  EXPECT_EQ(fresh.Dst()->GetCheck(), 0);
}

TEST(WelcomeDlg, AnswersGoIntoTheRecordOnOk) {
  SettingsRecord record;
  record.bWelcomeScreen = 0;
  record.nSelTimeZoneIndex = 80;  // outside the table: matched like no zone
  record.bTimeZoneUnset = 0;
  WelcomeDlg welcome(&record, nullptr, kChina);
  EXPECT_EQ(welcome.Zones()->count(), kTimeZoneCount);
  EXPECT_EQ(welcome.Zones()->currentIndex(), 56);
  EXPECT_EQ(welcome.Background(), LoadSkin(res::kWelcomeEn));
  welcome.Languages()->setCurrentIndex(1);
  welcome.SetLanguage();
  EXPECT_EQ(welcome.ShownLanguage(), Language::kChinese);
  EXPECT_EQ(welcome.Background(), LoadSkin(res::kWelcomeZh));
  EXPECT_EQ(welcome.Zones()->currentIndex(), 56);
  QTest::mouseClick(welcome.DstBox(), Qt::LeftButton);
  welcome.OnOk();
  EXPECT_EQ(record.bWelcomeScreen, 1);  // the "show again" box was left unchecked
  EXPECT_EQ(record.bDST, 1);
  EXPECT_EQ(record.nSelLanguageIndex, 1);
  EXPECT_EQ(record.nSelTimeZoneIndex, 56);
}

// What a screen reader finds: each control in its role, named in the dialog's language and
// renamed when that changes, and its action doing what a click does.
TEST(SettingDlg, AScreenReaderFindsEachControlNamedAndWorking) {
  Settings s("[Vantorel]\nbDST=0\n");
  SettingDlg dlg(s.file, nullptr, kChina);
  dlg.show();
  QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(dlg.Tabs());
  struct Row {
    QAccessibleInterface* object;
    QAccessible::Role role;
    const char* english;
    const char* chinese;
  };
  for (const int language : {1, 0}) {
    dlg.SetLanguage(LanguageOf(language));
    const Row rows[] = {
        {QAccessible::queryAccessibleInterface(dlg.RestoreButton()), QAccessible::Button,
         "Restore defaults", "恢复默认"},
        {QAccessible::queryAccessibleInterface(dlg.ZonePage()->Dst()), QAccessible::CheckBox, "DST",
         "夏令时"},
        {QAccessible::queryAccessibleInterface(dlg.ServerPage()->List()), QAccessible::List,
         "NTP servers", "NTP 服务器"},
        {tabs, QAccessible::PageTabList, "", ""},
        {tabs->child(1), QAccessible::PageTab, "NTP Server", "NTP 服务器"},
        {tabs->child(2), QAccessible::PageTab, "Language", "语言"},
    };
    for (const Row& row : rows) {
      ASSERT_NE(row.object, nullptr);
      EXPECT_EQ(row.object->role(), row.role) << row.english;
      EXPECT_EQ(row.object->text(QAccessible::Name),
                QString::fromUtf8(language == 1 ? row.chinese : row.english));
    }
  }
  EXPECT_EQ(tabs->childCount(), 3);
  EXPECT_TRUE(tabs->child(0)->state().selected);

  // A tab's press shows its page; the box's toggle ticks it, as its owner answers a click.
  tabs->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(dlg.ServerPage()->isVisible());
  EXPECT_TRUE(tabs->child(1)->state().selected);
  EXPECT_FALSE(tabs->child(0)->state().selected);
  QAccessibleInterface* dst = QAccessible::queryAccessibleInterface(dlg.ZonePage()->Dst());
  EXPECT_FALSE(dst->state().checked);
  dst->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  QTest::qWait(20);
  EXPECT_TRUE(dst->state().checked);
  EXPECT_EQ(dlg.ZonePage()->Dst()->GetCheck(), 1);
  // Nothing to press on a disabled button.
  dlg.RestoreButton()->setEnabled(false);
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(dlg.RestoreButton())
                   ->actionInterface()
                   ->actionNames()
                   .contains(QAccessibleActionInterface::pressAction()));
}

}  // namespace
}  // namespace vantorel
