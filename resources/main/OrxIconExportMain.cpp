// orx-icon-export: writes the program icon as PNG files for the desktop,
// one per size, into <folder>/<size>x<size>/apps/<name>.png (the hicolor layout).
//   orx-icon-export <folder> <name> <size>...
#include <QDir>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "resources/Artwork.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: orx-icon-export <folder> <name> <size>...\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) return 2;
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    if (!QDir().mkpath(dir) || !orx::res::programIcon(size).save(dir + "/" + name + ".png")) {
      std::fprintf(stderr, "orx-icon-export: cannot write %s\n", qPrintable(dir));
      return 1;
    }
  }
  return 0;
}
