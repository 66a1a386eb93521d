#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

// What the arguments ask of the program before any window or settings file is touched.
enum class CommandLineAction { kRun, kVersion, kHelp, kUsageError };

struct CommandLine {
  CommandLineAction action = CommandLineAction::kRun;
  std::string message;  // the error for kUsageError
};

// The arguments after the program's name. The toolkit's own options (-platform NAME,
// -style NAME, -reverse, …) are left for the toolkit and mean "run".
CommandLine ParseCommandLine(const std::vector<std::string_view>& arguments);

// The text --help prints: usage, options, the settings file and the exit status.
std::string HelpText(std::string_view program);

// "vantorel 1.0"
std::string VersionText();

// The status a usage error ends with, as the shell's own tools do.
inline constexpr int kUsageErrorStatus = 2;

}  // namespace vantorel
