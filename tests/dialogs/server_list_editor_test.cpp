#include "dialogs/server_list_editor.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

using Names = std::vector<std::string>;

SettingsRecord UserList(const char* servers, int selected = -1) {
  SettingsRecord record;
  record.bDefualtServers = 0;
  record.strServers = servers;
  record.nSelNTPServerIndex = selected;
  return record;
}

Names DefaultNames() {
  Names names;
  for (size_t i = 0; i < kDefaultServerCount; ++i) names.emplace_back(kDefaultServers[i].host);
  return names;
}

TEST(ServerListEditor, FillsFromTheRecord) {
  struct Case {
    const char* what;
    SettingsRecord record;
    Names items;
    int selection;
  };
  SettingsRecord builtIn = UserList("x;y", 2);
  builtIn.bDefualtServers = 1;
  const Case cases[] = {
      {"separators skipped", UserList(";a;;b;", 1), {"a", "b"}, 1},
      {"built-in flag wins", builtIn, DefaultNames(), 2},
      {"index past the end", UserList("a;b", 5), {"a", "b"}, 0},
      {"-1 selects nothing", UserList("a;b", -1), {"a", "b"}, -1},
      {"only separators", UserList(";;;"), {std::string(kFallbackServer)}, 0},
  };
  for (Case c : cases) {
    ServerListEditor editor;
    editor.SetSettings(&c.record);
    EXPECT_EQ(editor.Items(), c.items) << c.what;
    EXPECT_EQ(editor.Selection(), c.selection) << c.what;
  }
  ServerListEditor unbound;
  unbound.SetSettings(nullptr);
  EXPECT_EQ(unbound.Items(), Names{std::string(kFallbackServer)});
  EXPECT_FALSE(unbound.Add("x"));  // nothing is edited without a record
}

TEST(ServerListEditor, AddAndEditNeverMakeCaseTwins) {
  SettingsRecord record = UserList("Alpha;beta", 0);
  ServerListEditor editor;
  editor.SetSettings(&record);
  record.bDefualtServers = 1;
  EXPECT_FALSE(editor.Add("BETA"));
  EXPECT_EQ(editor.Selection(), 1);
  EXPECT_EQ(editor.Items().size(), 2u);
  EXPECT_EQ(record.bDefualtServers, 1);  // nothing added, nothing changed
  EXPECT_TRUE(editor.Add("   "));        // blanks are a name
  EXPECT_EQ(editor.Selection(), 2);
  EXPECT_EQ(record.bDefualtServers, 0);

  editor.Select(2);
  EXPECT_FALSE(editor.Edit("alpha"));  // another item's text: only selects it
  EXPECT_EQ(editor.Selection(), 0);
  EXPECT_EQ(editor.Items()[2], "   ");
  editor.Select(0);
  EXPECT_TRUE(editor.Edit("ALPHA"));  // its own text in other letters is a rename
  EXPECT_EQ(editor.Items(), (Names{"ALPHA", "beta", "   "}));
}

TEST(ServerListEditor, DeleteSelectsTheNeighbour) {
  SettingsRecord record = UserList("a;b;c", 2);
  ServerListEditor editor;
  editor.SetSettings(&record);
  editor.Delete(false);  // "No"
  EXPECT_EQ(editor.Items().size(), 3u);
  editor.Delete(true);
  EXPECT_EQ(editor.Items(), (Names{"a", "b"}));
  EXPECT_EQ(editor.Selection(), 1);
  editor.Select(-1);
  editor.Delete(true);  // nothing selected: nothing goes
  EXPECT_EQ(editor.Items(), (Names{"a", "b"}));
  editor.Select(0);
  editor.Delete(true);  // the first: its neighbour below moves up into the selection
  EXPECT_EQ(editor.Items(), (Names{"b"}));
  EXPECT_EQ(editor.Selection(), 0);
  editor.Delete(true);
  EXPECT_TRUE(editor.Items().empty());
  EXPECT_EQ(editor.Selection(), -1);
}

// The -1 the settings dialog writes after a restore is its own (the dialog's test checks it).
TEST(ServerListEditor, RestoreKeepsADefaultNameSelectedAndWritesNoList) {
  for (const auto& [selected, expected] :
       {std::pair{std::string(kDefaultServers[3].host), 3}, std::pair{std::string("mine"), 0}}) {
    SettingsRecord record = UserList(("x;" + selected).c_str(), 1);
    ServerListEditor editor;
    editor.SetSettings(&record);
    editor.RestoreDefault();
    EXPECT_EQ(editor.Items(), DefaultNames());
    EXPECT_EQ(editor.Selection(), expected);
    EXPECT_TRUE(editor.Restored());
    EXPECT_EQ(record.bDefualtServers, 1);
    int saves = 0;
    editor.StoreSettings([&](const SettingsRecord&, bool) { ++saves; });
    EXPECT_EQ(saves, 0);  // the built-in list is not written by the page
    EXPECT_EQ(record.nSelNTPServerIndex, expected);
  }
}

TEST(ServerListEditor, StoreJoinsAndWritesOnlyAUserList) {
  SettingsRecord record = UserList("a;b", 0);
  ServerListEditor editor;
  editor.SetSettings(&record);
  editor.Add("c");
  std::string written;
  bool changed = true;
  editor.StoreSettings([&](const SettingsRecord& r, bool listChanged) {
    written = *r.strServers;
    changed = listChanged;
  });
  EXPECT_EQ(written, "a;b;c");
  EXPECT_FALSE(changed);
  EXPECT_EQ(record.nSelNTPServerIndex, 2);
}

}  // namespace
}  // namespace vantorel
