#pragma once

#include <cstdint>

#include "platform/host_zone.h"
#include "settings/language.h"

namespace vantorel {

class ZoneListBox;

// Fills the list with the 75 zones in the language, or, when it
// already holds items, replaces their texts in place keeping count and selection. A
// selection that is no valid row is matched to the host's zone first.
void FillZoneList(ZoneListBox& list, Language language, int* selected,
                  const platform::HostZone& host = platform::SystemHostZone());

// The row that stands for the host's zone: a key-name match wins, else the last row with the
// same standard offset, else row 0.
int MatchSystemZone(int start, const platform::HostZone& host = platform::SystemHostZone());
int MatchSystemZone(int start, const platform::HostZoneInfo& host);

// The stored row when it is set and valid, else the row matched to the host's zone.
int ResolveZoneIndex(int stored, bool unset,
                     const platform::HostZone& host = platform::SystemHostZone());

// Bias of a valid row in minutes (UTC = zone time + bias), one hour less with daylight saving.
int32_t ZoneBiasMinutes(int index, bool dst);

// The list's item data of a row: hours from UTC times 100, truncated.
int32_t ZoneItemData(int index);

}  // namespace vantorel
