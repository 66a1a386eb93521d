#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "dialogs/server_list_editor.h"
#include "dialogs/skinned_page.h"
#include "platform/host_zone.h"
#include "settings/settings.h"

namespace vantorel {

class MyBitmapButton;
class MyBitmapCombobox;
class MyBitmapListBox;

// The NTP server page: the server list with Add, Edit and Delete.
class SettingNTPServer : public SkinnedPage {
 public:
  // Asks for a name (edit mode, current name, language); nothing when cancelled.
  using NamePrompt = std::function<std::optional<std::string>(bool edit, const std::string& name,
                                                              Language language)>;
  // Asks whether to delete (language); true for Yes.
  using Confirm = std::function<bool(Language language)>;

  explicit SettingNTPServer(QWidget* parent = nullptr);
  void SetSettings(SettingsRecord* record);
  void SetLanguage(Language language);
  void StoreSettings(const std::filesystem::path& file);
  void RestoreDefault();
  bool Restored() const { return m_editor.Restored(); }
  void SetNamePrompt(NamePrompt prompt) { m_prompt = std::move(prompt); }
  void SetConfirm(Confirm confirm) { m_confirm = std::move(confirm); }

  void OnAdd();
  void OnEdit();
  void OnDelete();
  MyBitmapListBox* List() const { return m_list; }
  const ServerListEditor& Editor() const { return m_editor; }

 private:
  void Show();
  Language RecordLanguage() const {
    return LanguageOf(m_record != nullptr ? m_record->nSelLanguageIndex : 0);
  }

  SettingsRecord* m_record = nullptr;
  ServerListEditor m_editor;
  NamePrompt m_prompt;
  Confirm m_confirm;
  MyBitmapListBox* m_list;
  MyBitmapButton* m_add;
  MyBitmapButton* m_edit;
  MyBitmapButton* m_delete;
};

// The time zone page: the zone list and daylight saving.
class SettingTimezone : public SkinnedPage {
 public:
  explicit SettingTimezone(QWidget* parent = nullptr,
                           const platform::HostZone& host = platform::SystemHostZone());
  void SetSettings(SettingsRecord* record);
  void SetLanguage(Language language);
  void StoreSettings();
  MyBitmapCombobox* Zones() const { return m_zones; }
  MyBitmapButton* Dst() const { return m_dst; }

 private:
  const platform::HostZone& m_host;
  SettingsRecord* m_record = nullptr;
  int m_selected = 0;
  MyBitmapCombobox* m_zones;
  MyBitmapButton* m_dst;
};

// The language page: English or Chinese; a choice is reported, not applied.
class SettingLanguage : public SkinnedPage {
 public:
  explicit SettingLanguage(QWidget* parent = nullptr);
  void SetSettings(const int32_t* language);
  void SetLanguage(Language language);
  void OnLanguageChosen(std::function<void(Language)> handler) { m_chosen = std::move(handler); }
  MyBitmapCombobox* Languages() const { return m_languages; }

 protected:
  // Enter inside the page is the page's own OK: it takes the choice and closes nothing.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MyBitmapCombobox* m_languages;
  std::function<void(Language)> m_chosen;
};

}  // namespace vantorel
