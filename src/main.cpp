#include <QApplication>
#include <QDir>
#include <QFontDatabase>

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
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantorel"));
  RegisterBundledFonts();
  vantorel::VantorelApp vantorel;
  vantorel.Run();
  return 0;
}
