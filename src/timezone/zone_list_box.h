#pragma once

#include <cstdint>
#include <string_view>

namespace vantorel {

// The few list operations that filling a zone list needs; the skinned combo box implements
// them, tests use a plain list.
class ZoneListBox {
 public:
  virtual ~ZoneListBox() = default;
  virtual int GetCount() const = 0;
  virtual void ResetContent() = 0;
  virtual int AddString(std::string_view text) = 0;
  virtual int InsertString(int index, std::string_view text) = 0;
  virtual void DeleteString(int index) = 0;
  virtual void SetItemData(int index, intptr_t data) = 0;
  virtual void SetCurSel(int index) = 0;
};

}  // namespace vantorel
