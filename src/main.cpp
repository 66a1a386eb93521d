#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/vantorel_app.h"
#include "platform/executable_dir.h"

namespace {

// Font files beside the program, when present, join the installed fonts.
void RegisterBundledFonts() {
  const QDir folder(QString::fromStdString(vantorel::platform::ExecutableDir().string()));
  for (const char* file : {"TRENDS.ttf", "arial.ttf", "simhei.ttf"}) {
    const QString path = folder.filePath(QString::fromLatin1(file));
    if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the toolkit starts: no display is needed and no settings file is read.
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const std::string_view program = argc > 0 ? std::string_view(argv[0]) : "vantorel";
  switch (const vantorel::CommandLine line = vantorel::ParseCommandLine(arguments); line.action) {
    case vantorel::CommandLineAction::kVersion:
      std::fputs(vantorel::VersionText().c_str(), stdout);
      return 0;
    case vantorel::CommandLineAction::kHelp:
      std::fputs(vantorel::HelpText(program).c_str(), stdout);
      return 0;
    case vantorel::CommandLineAction::kUsageError:
      std::fprintf(stderr, "%.*s: %s\nTry '%.*s --help' for more information.\n",
                   static_cast<int>(program.size()), program.data(), line.message.c_str(),
                   static_cast<int>(program.size()), program.data());
      return vantorel::kUsageErrorStatus;
    case vantorel::CommandLineAction::kRun:
      break;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantorel"));
  RegisterBundledFonts();
  vantorel::VantorelApp vantorel;
  vantorel.Run();
  return 0;
}
