#pragma once

#include "controls/skinned_dialog.h"
#include "platform/host_zone.h"
#include "settings/settings.h"

namespace vantorel {

class MyBitmapButton;
class MyBitmapCombobox;

// The first start's questions: language, zone, daylight saving, and whether to ask again.
// OK writes the answers into the bound record; Cancel changes nothing.
class WelcomeDlg : public SkinnedDialog {
 public:
  explicit WelcomeDlg(SettingsRecord* settings, QWidget* parent = nullptr,
                      const platform::HostZone& host = platform::SystemHostZone());

  // Applies the language combo's choice when it differs from the one shown.
  void SetLanguage();
  void OnOk();

  Language ShownLanguage() const { return m_language; }
  MyBitmapCombobox* Languages() const { return m_languages; }
  MyBitmapCombobox* Zones() const { return m_zones; }
  MyBitmapButton* DstBox() const { return m_dst; }
  MyBitmapButton* ShowAgainBox() const { return m_showAgain; }

 private:
  SettingsRecord* m_settings;
  const platform::HostZone& m_host;
  Language m_language = Language::kEnglish;
  bool m_skinned = false;  // the skins of a language are on
  int m_timeZone = -1;
  MyBitmapButton* m_dst;
  MyBitmapButton* m_showAgain;
  MyBitmapButton* m_close;
  MyBitmapButton* m_ok;
  MyBitmapButton* m_cancel;
  MyBitmapCombobox* m_languages;
  MyBitmapCombobox* m_zones;
};

}  // namespace vantorel
