#pragma once

#include "controls/my_bitmap_combobox.h"
#include "platform/host_zone.h"
#include "timezone/zone_list_box.h"
#include "timezone/zone_time.h"

namespace vantorel {

// A skinned combo box seen as the zone module's list, where a zone list is filled: the
// control itself knows nothing of zones.
class ZoneComboList final : public ZoneListBox {
 public:
  explicit ZoneComboList(MyBitmapCombobox& combo) : m_combo(combo) {}
  int GetCount() const override { return m_combo.GetCount(); }
  void ResetContent() override { m_combo.ResetContent(); }
  int AddString(std::string_view text) override { return m_combo.AddString(text); }
  int InsertString(int index, std::string_view text) override {
    return m_combo.InsertString(index, text);
  }
  void DeleteString(int index) override { m_combo.DeleteString(index); }
  void SetItemData(int index, intptr_t data) override { m_combo.SetItemData(index, data); }
  void SetCurSel(int index) override { m_combo.SetCurSel(index); }

 private:
  MyBitmapCombobox& m_combo;
};

// Fills a zone combo in that language, or relabels a filled one in place. A relabel keeps the
// row the user has picked by now, not the one the dialog opened with.
inline void FillZoneCombo(MyBitmapCombobox& combo, Language language, int* selected,
                          const platform::HostZone& host) {
  if (combo.GetCount() > 0) *selected = combo.currentIndex();
  ZoneComboList zones(combo);
  FillZoneList(zones, language, selected, host);
}

}  // namespace vantorel
