#include "ui/DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quillo {

QString ProgramDataFile(const QString& name) {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString candidates[] = {program.filePath(name),
                                program.filePath(QStringLiteral("../share/quillo/") + name)};
  for (const QString& candidate : candidates)
    if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).absoluteFilePath();
  return {};
}

}  // namespace quillo
