#include "timezone/zone_time.h"

#include "platform/ascii_case.h"
#include "timezone/time_zone_table.h"
#include "timezone/zone_list_box.h"

namespace vantorel {
namespace {

constexpr int kMinutesPerHour = 60;

const char* ListText(const TimeZoneRow& row, Language language) {
  return InLanguage(language, row.englishDisplay, row.chineseDisplay);
}

bool SameName(const char* a, const std::string& b) {
  return !b.empty() && platform::EqualsIgnoringCase(a, b);
}

}  // namespace

int32_t ZoneItemData(int index) {
  return static_cast<int32_t>(kTimeZones[static_cast<size_t>(index)].hoursFromUtc * 100.0f);
}

void FillZoneList(ZoneListBox& list, Language language, int* selected,
                  const platform::HostZone& host) {
  int s = selected != nullptr ? *selected : -1;
  const bool refresh = list.GetCount() > 0;
  if (!refresh) list.ResetContent();
  for (int i = 0; i < kTimeZoneCount; ++i) {
    const char* text = ListText(kTimeZones[static_cast<size_t>(i)], language);
    if (refresh) {
      const int at = list.InsertString(i, text);
      list.SetItemData(at, ZoneItemData(i));
      if (s == i) list.SetCurSel(i);
      // A list shorter than the table has no old row here.
      if (i + 1 < list.GetCount()) list.DeleteString(i + 1);
    } else {
      const int at = list.AddString(text);
      list.SetItemData(at, ZoneItemData(i));
    }
  }
  // Nor may rows of a longer one outlast the refresh.
  while (refresh && list.GetCount() > kTimeZoneCount) list.DeleteString(kTimeZoneCount);
  if (!IsValidZoneIndex(s)) s = MatchSystemZone(s, host);
  if (s < 0) s = 0;
  if (!refresh) list.SetCurSel(s);
  if (selected != nullptr) *selected = s;
}

int MatchSystemZone(int start, const platform::HostZone& host) {
  return MatchSystemZone(start, host.Read());
}

int MatchSystemZone(int start, const platform::HostZoneInfo& host) {
  const auto hours = static_cast<float>(host.bias / -60.0);
  int s = start;
  bool matched = false;
  for (int i = 0; i < kTimeZoneCount; ++i) {
    const TimeZoneRow& row = kTimeZones[static_cast<size_t>(i)];
    if (row.hoursFromUtc == hours) {
      s = i;
      matched = true;
    }
    // A name counts only on a row of the host's own offset: some names the host's zone
    // database gives (Pacific/Apia's "Samoa Standard Time") belong to rows of another.
    if (row.hoursFromUtc == hours && (SameName(row.keyName, host.standardName) ||
                                      SameName(row.chineseStandardName, host.standardName))) {
      return i;
    }
  }
  return matched ? s : 0;
}

int ResolveZoneIndex(int stored, bool unset, const platform::HostZone& host) {
  if (unset || !IsValidZoneIndex(stored)) return MatchSystemZone(stored, host);
  return stored;
}

int32_t ZoneBiasMinutes(int index, bool dst) {
  if (!IsValidZoneIndex(index)) return 0;
  auto bias =
      static_cast<int32_t>(kTimeZones[static_cast<size_t>(index)].hoursFromUtc * -kMinutesPerHour);
  if (dst) bias -= kMinutesPerHour;
  return bias;
}

}  // namespace vantorel
