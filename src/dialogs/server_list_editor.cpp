#include "dialogs/server_list_editor.h"

#include "platform/ascii_case.h"

namespace vantorel {

void ServerListEditor::FillDefaults() {
  m_items.clear();
  for (size_t i = 0; i < kDefaultServerCount; ++i) m_items.emplace_back(kDefaultServers[i].host);
}

void ServerListEditor::SetSettings(SettingsRecord* record) {
  m_record = record;
  m_items.clear();
  m_selection = -1;
  if (record != nullptr) {
    if (!record->strServers || record->strServers->empty() || record->bDefualtServers != 0) {
      record->bDefualtServers = 1;
      FillDefaults();
    } else {
      for (const ServerEntry& entry : SplitServerList(*record->strServers))
        m_items.push_back(entry.host);
    }
  }
  if (!m_items.empty()) {
    const int stored = record != nullptr ? record->nSelNTPServerIndex : 0;
    m_selection = stored < static_cast<int>(m_items.size()) ? stored : 0;
    if (m_selection < -1) m_selection = -1;
  } else {
    m_items.emplace_back(kFallbackServer);
    m_selection = 0;
  }
}

int ServerListEditor::Find(const std::string& name, int skip) const {
  for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
    if (i != skip && platform::EqualsIgnoringCase(m_items[static_cast<size_t>(i)], name)) return i;
  }
  return -1;
}

bool ServerListEditor::Add(const std::string& name) {
  if (m_record == nullptr || name.empty()) return false;
  if (const int existing = Find(name, -1); existing >= 0) {
    m_selection = existing;
    return false;
  }
  m_items.push_back(name);
  m_selection = static_cast<int>(m_items.size()) - 1;
  m_record->bDefualtServers = 0;
  return true;
}

bool ServerListEditor::Edit(const std::string& name) {
  if (m_record == nullptr || m_selection < 0 || name.empty()) return false;
  if (const int other = Find(name, m_selection); other >= 0) {
    m_selection = other;
    return false;
  }
  m_items[static_cast<size_t>(m_selection)] = name;
  m_record->bDefualtServers = 0;
  return true;
}

void ServerListEditor::Delete(bool confirmed) {
  if (!confirmed || m_selection < 0) return;
  m_items.erase(m_items.begin() + m_selection);
  const int count = static_cast<int>(m_items.size());
  if (m_selection >= count) m_selection = count > 0 ? m_selection - 1 : -1;
  if (m_record != nullptr) m_record->bDefualtServers = 0;
}

void ServerListEditor::RestoreDefault() {
  const std::string selected =
      m_selection >= 0 ? m_items[static_cast<size_t>(m_selection)] : std::string();
  FillDefaults();
  if (m_record != nullptr) m_record->bDefualtServers = 1;
  m_selection = selected.empty() ? -1 : Find(selected, -1);
  if (m_selection < 0) m_selection = 0;
  m_restored = true;
}

void ServerListEditor::StoreSettings(const std::function<void(const SettingsRecord&, bool)>& save) {
  if (m_record == nullptr) return;
  m_record->nSelNTPServerIndex = m_selection;
  if (m_record->bDefualtServers != 0) return;
  m_record->strServers = JoinServerList(m_items);
  if (save) save(*m_record, m_restored);
}

}  // namespace vantorel
