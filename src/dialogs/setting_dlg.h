#pragma once

#include <filesystem>

#include "controls/skinned_dialog.h"
#include "platform/host_zone.h"
#include "settings/settings.h"

namespace vantorel {

class MyBitmapButton;
class MyBitmapTabCtrl;
class SettingLanguage;
class SettingNTPServer;
class SettingTimezone;

// The settings window: time zone, NTP server and language pages behind a tab strip. It edits
// its own copy of the settings; OK saves the copy, Cancel writes nothing.
class SettingDlg : public SkinnedDialog {
 public:
  static constexpr int kZoneTab = 0;
  static constexpr int kServerTab = 1;
  static constexpr int kLanguageTab = 2;

  explicit SettingDlg(std::filesystem::path settingsFile, QWidget* owner = nullptr,
                      const platform::HostZone& host = platform::SystemHostZone());

  void SetLanguage(Language language);
  void SelectTab(int tab);
  // WM_SETTINGLANGUAGE: the language page's choice goes into the copy, to take effect on OK.
  void OnSettingLanguage(Language language);
  void OnOk();

  const SettingsRecord& Copy() const { return m_settings; }
  MyBitmapButton* RestoreButton() const { return m_restore; }
  MyBitmapTabCtrl* Tabs() const { return m_tabs; }
  SettingNTPServer* ServerPage() const { return m_serverPage; }
  SettingTimezone* ZonePage() const { return m_zonePage; }
  SettingLanguage* LanguagePage() const { return m_languagePage; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::filesystem::path m_file;
  SettingsRecord m_settings;
  MyBitmapTabCtrl* m_tabs;
  MyBitmapButton* m_restore;
  MyBitmapButton* m_ok;
  MyBitmapButton* m_cancel;
  MyBitmapButton* m_close;
  SettingLanguage* m_languagePage;
  SettingNTPServer* m_serverPage;
  SettingTimezone* m_zonePage;
};

}  // namespace vantorel
