#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <utility>

#ifndef VANTOREL_VERSION
#define VANTOREL_VERSION "0"
#endif

namespace vantorel {

namespace {

// The options every Qt program takes; the first group is followed by a value.
constexpr std::array<std::string_view, 11> kToolkitOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "display",
    "geometry"};
constexpr std::array<std::string_view, 4> kToolkitFlags = {"reverse", "widgetcount", "nograb",
                                                           "dograb"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// "-style" and "--style"; "-style=fusion" carries its value.
std::string_view OptionName(std::string_view argument) {
  argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
  return argument.substr(0, argument.find('='));
}

CommandLine Error(std::string message) {
  return {CommandLineAction::kUsageError, std::move(message)};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string_view>& arguments) {
  CommandLine result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--version") {
      if (result.action == CommandLineAction::kRun) result.action = CommandLineAction::kVersion;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      result.action = CommandLineAction::kHelp;
      continue;
    }
    if (argument.size() < 2 || argument[0] != '-')
      return Error("unexpected argument '" + std::string(argument) + "'");
    const std::string_view name = OptionName(argument);
    if (OneOf(kToolkitFlags, name)) continue;
    if (OneOf(kToolkitOptionsWithValue, name)) {
      if (argument.find('=') != std::string_view::npos) continue;
      if (++i == arguments.size())
        return Error("option '" + std::string(argument) + "' needs a value");
      continue;
    }
    return Error("unknown option '" + std::string(argument) + "'");
  }
  return result;
}

std::string HelpText(std::string_view program) {
  std::string text = "Usage: " + std::string(program) + " [OPTION]...\n";
  text +=
      "Set a wristwatch to the standard time through the screen.\n"
      "\n"
      "Vantorel asks network time servers (SNTP) how far this computer's clock is off,\n"
      "shows the corrected time of the chosen zone, and on request flashes an area of\n"
      "the window that a watch held against the screen reads. It never changes the\n"
      "computer's clock.\n"
      "\n"
      "Options:\n"
      "  -h, --help     print this help and exit\n"
      "      --version  print the version and exit\n"
      "The toolkit's own options (-platform NAME, -style NAME, -reverse, ...) are accepted.\n"
      "\n"
      "Settings are kept in Setting.ini beside the program when it can be written there,\n"
      "otherwise in $XDG_CONFIG_HOME/vantorel/Setting.ini (~/.config/vantorel/Setting.ini).\n"
      "\n"
      "Exit status: 0 when the window is closed or the program is ended by SIGTERM,\n"
      "SIGINT or SIGHUP; 2 on a wrong option or argument.\n"
      "See vantorel(1) for more.\n";
  return text;
}

std::string VersionText() {
  return std::string("vantorel ") + VANTOREL_VERSION + "\n";
}

}  // namespace vantorel
