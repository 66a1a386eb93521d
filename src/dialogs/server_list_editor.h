#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace vantorel {

// The rules of the server list page, on a plain list: filling from the settings record,
// adding, editing and deleting names (never two that differ only in letter case), restoring
// the built-in list, and storing the list and the selection back.
class ServerListEditor {
 public:
  // Fills the list from the record (null: the built-in list is not even known; the fallback
  // server stands alone) and selects the stored server.
  void SetSettings(SettingsRecord* record);

  const std::vector<std::string>& Items() const { return m_items; }
  int Selection() const { return m_selection; }
  void Select(int index) {
    m_selection = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
  }
  bool Restored() const { return m_restored; }

  // After the name dialog's OK. An existing name (ignoring letter case) is selected instead
  // of added. False when nothing was added.
  bool Add(const std::string& name);
  // Renames the selected item; a name another item has already only selects that item.
  bool Edit(const std::string& name);
  // After the question; a "No" changes nothing.
  void Delete(bool confirmed);
  void RestoreDefault();
  // The selection and, for the user's own list, the joined list go into the record; then
  // `save` writes it (with whether the built-in list was restored meanwhile).
  void StoreSettings(
      const std::function<void(const SettingsRecord&, bool serverListChanged)>& save);

 private:
  int Find(const std::string& name, int skip) const;
  void FillDefaults();

  SettingsRecord* m_record = nullptr;
  std::vector<std::string> m_items;
  int m_selection = -1;
  bool m_restored = false;
};

}  // namespace vantorel
