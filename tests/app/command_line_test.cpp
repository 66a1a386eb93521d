#include "app/command_line.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(ParseCommandLine, AnswersOwnOptionsPassesTheToolkitsAndRefusesTheRest) {
  using A = CommandLineAction;
  struct Case {
    std::vector<std::string_view> arguments;
    A action;
    std::string_view messageHas;
  };
  const Case cases[] = {
      {{}, A::kRun, ""},
      {{"--version"}, A::kVersion, ""},
      {{"--help"}, A::kHelp, ""},
      {{"-h", "--version"}, A::kHelp, ""},  // help wins, whatever the order
      {{"--version", "--help"}, A::kHelp, ""},
      {{"-platform", "offscreen", "-reverse"}, A::kRun, ""},
      {{"--style=fusion", "-qwindowtitle", "x"}, A::kRun, ""},
      {{"-platform"}, A::kUsageError, "needs a value"},
      {{"--verbose"}, A::kUsageError, "unknown option '--verbose'"},
      {{"--version", "-x"}, A::kUsageError, "'-x'"},
      {{"-"}, A::kUsageError, "unexpected argument '-'"},
      {{"Setting.ini"}, A::kUsageError, "unexpected argument 'Setting.ini'"},
      {{"--versions"}, A::kUsageError, "unknown option"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    const std::string shown = c.arguments.empty() ? "(none)" : std::string(c.arguments[0]);
    EXPECT_EQ(line.action, c.action) << shown;
    EXPECT_NE(line.message.find(c.messageHas), std::string::npos) << shown << ": " << line.message;
  }
}

TEST(ParseCommandLine, HelpAndVersionNameTheProgram) {
  EXPECT_EQ(HelpText("/usr/bin/vantorel").rfind("Usage: /usr/bin/vantorel [OPTION]...\n", 0), 0u);
  EXPECT_EQ(VersionText().rfind("vantorel 1.", 0), 0u) << VersionText();
}

}  // namespace
}  // namespace vantorel
