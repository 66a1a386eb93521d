#include "timezone/zone_time.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "timezone/time_zone_table.h"
#include "timezone/zone_list_box.h"

namespace vantorel {
namespace {

using test::FixedHostZone;

// A plain list that records what the filling did to it.
class PlainList final : public ZoneListBox {
 public:
  struct Item {
    std::string text;
    intptr_t data = 0;
  };
  int GetCount() const override { return static_cast<int>(items.size()); }
  void ResetContent() override {
    items.clear();
    selection = -1;
    ++resets;
  }
  int AddString(std::string_view text) override {
    items.push_back({std::string(text)});
    return GetCount() - 1;
  }
  int InsertString(int index, std::string_view text) override {
    items.insert(items.begin() + index, {std::string(text)});
    if (selection >= index) ++selection;
    return index;
  }
  void DeleteString(int index) override {
    items.erase(items.begin() + index);
    if (selection == index) selection = -1;
    if (selection > index) --selection;
  }
  void SetItemData(int index, intptr_t data) override {
    items[static_cast<size_t>(index)].data = data;
  }
  void SetCurSel(int index) override { selection = index; }

  std::vector<Item> items;
  int selection = -1;
  int resets = 0;
};

TEST(ZoneTable, HasSeventyFiveRowsSortedWestToEastThenAnEnd) {
  EXPECT_EQ(kTimeZones[kTimeZoneCount].englishDisplay[0], '\0');
  for (int i = 0; i < kTimeZoneCount; ++i) {
    const TimeZoneRow& row = kTimeZones[static_cast<size_t>(i)];
    EXPECT_NE(row.englishDisplay[0], '\0') << i;
    EXPECT_NE(row.chineseDisplay[0], '\0') << i;
    if (i > 0) {
      EXPECT_LE(kTimeZones[static_cast<size_t>(i - 1)].hoursFromUtc, row.hoursFromUtc) << i;
    }
  }
  EXPECT_STREQ(kTimeZones[56].keyName, "China Standard Time");
  EXPECT_STREQ(kTimeZones[56].chineseStandardName, "中国标准时间");
  EXPECT_STREQ(kTimeZones[25].englishDisplay,
               "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London");
  EXPECT_STREQ(kTimeZones[74].chineseDisplay, "(GMT+13:00) 努库阿洛法");
}

TEST(ZoneBiasMinutes, FollowsOffsetAndDaylightSaving) {
  struct Case {
    int row;
    bool dst;
    int32_t bias;
  };
  const Case cases[] = {
      {56, false, -480}, {56, true, -540}, {50, false, -345}, {18, false, 210}, {18, true, 150},
      {74, false, -780}, {0, false, 720},  {25, false, 0},    {25, true, -60},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZoneBiasMinutes(c.row, c.dst), c.bias) << c.row << " " << c.dst;
}

TEST(ZoneItemData, IsHundredthsOfHoursTruncated) {
  EXPECT_EQ(ZoneItemData(50), 575);
  EXPECT_EQ(ZoneItemData(18), -350);
  EXPECT_EQ(ZoneItemData(0), -1200);
  EXPECT_EQ(ZoneItemData(56), 800);
}

TEST(MatchSystemZone, NameOfTheSameOffsetWinsElseLastRowOfTheOffsetElseRowZero) {
  struct Case {
    const char* what;
    int32_t bias;
    const char* name;
    int start;
    int row;
  };
  const Case cases[] = {
      {"key name", -480, "China Standard Time", -1, 56},
      {"key name in other case", -480, "china standard TIME", -1, 56},
      {"Chinese standard name", -480, "中国标准时间", -1, 56},
      {"name beats the offset's last row", -540, "Tokyo Standard Time", -1, 62},
      // Names the host's zone database gives to zones whose offset is not their row's.
      {"Pacific/Apia (+13) is not Samoa's row (-11)", -780, "Samoa Standard Time", -1, 74},
      {"Asia/Novosibirsk (+7) is not its name's row (+6)", -420, "N. Central Asia Standard Time",
       -1, 55},
      {"Asia/Almaty (+5) is not its name's row (+6)", -300, "Central Asia Standard Time", -1, 47},
      {"a name on a row of another offset", 0, "Tokyo Standard Time", -1, 26},
      {"+8 with no name match", -480, "Somewhere Standard Time", -1, 60},
      {"UTC with no name", 0, "", -1, 26},
      {"+14 matches nothing", -840, "Line Islands Standard Time", 30, 0},
      {"+5:45 by offset", -345, "", -1, 50},
      {"-3:30 by offset", 210, "", -1, 18},
      {"India", -330, "India Standard Time", -1, 49},
      {"Eastern", 300, "Eastern Standard Time", -1, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchSystemZone(c.start, FixedHostZone(c.bias, c.name)), c.row) << c.what;
  }
}

TEST(ResolveZoneIndex, KeepsValidRowsAndMatchesTheRest) {
  const FixedHostZone china(-480, "China Standard Time");
  struct Case {
    int stored;
    bool unset;
    int row;
  };
  const Case cases[] = {{74, false, 74}, {0, false, 0},    {75, false, 56},
                        {-1, false, 56}, {500, false, 56}, {10, true, 56}};
  for (const Case& c : cases)
    EXPECT_EQ(ResolveZoneIndex(c.stored, c.unset, china), c.row) << c.stored;
}

// An empty list is filled anew; one that holds rows of any number is refreshed in place and
// ends with exactly the table's rows.
TEST(FillZoneList, FillsAnewOrRefreshesInEitherLanguage) {
  const FixedHostZone china(-480, "China Standard Time");
  for (const int language : {0, 1, 2}) {
    for (const size_t leftovers : {0u, 1u, 80u}) {
      SCOPED_TRACE(leftovers);
      PlainList list;
      list.items.assign(leftovers, {"leftover"});
      int selected = 30;
      FillZoneList(list, LanguageOf(language), &selected, china);
      ASSERT_EQ(list.GetCount(), kTimeZoneCount);
      EXPECT_EQ(list.resets, leftovers == 0 ? 1 : 0);
      EXPECT_EQ(list.selection, 30);
      EXPECT_EQ(selected, 30);
      for (int i = 0; i < kTimeZoneCount; ++i) {
        const TimeZoneRow& row = kTimeZones[static_cast<size_t>(i)];
        EXPECT_EQ(list.items[static_cast<size_t>(i)].text,
                  language == 1 ? row.chineseDisplay : row.englishDisplay);
        EXPECT_EQ(list.items[static_cast<size_t>(i)].data, ZoneItemData(i));
      }
    }
  }
}

TEST(FillZoneList, InvalidSelectionIsMatchedToTheHost) {
  struct Case {
    int selected;
    int32_t bias;
    const char* name;
    int expected;
  };
  const Case cases[] = {
      {-1, -480, "China Standard Time", 56}, {75, -330, "", 49}, {-7, -840, "", 0}};
  for (const Case& c : cases) {
    PlainList list;
    int selected = c.selected;
    FillZoneList(list, Language::kEnglish, &selected, FixedHostZone(c.bias, c.name));
    EXPECT_EQ(selected, c.expected);
    EXPECT_EQ(list.selection, c.expected);
  }
}

TEST(FillZoneList, LanguageSwitchRefreshesTextsInPlace) {
  const FixedHostZone host(0, "");
  PlainList list;
  int selected = 42;
  FillZoneList(list, Language::kEnglish, &selected, host);
  FillZoneList(list, Language::kChinese, &selected, host);
  EXPECT_EQ(list.resets, 1);  // no second clearing
  ASSERT_EQ(list.GetCount(), kTimeZoneCount);
  EXPECT_EQ(list.selection, 42);
  EXPECT_EQ(selected, 42);
  for (int i = 0; i < kTimeZoneCount; ++i) {
    EXPECT_EQ(list.items[static_cast<size_t>(i)].text,
              kTimeZones[static_cast<size_t>(i)].chineseDisplay)
        << i;
    EXPECT_EQ(list.items[static_cast<size_t>(i)].data, ZoneItemData(i)) << i;
  }
}

}  // namespace
}  // namespace vantorel
