#include "platform/StandardPaths.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>

namespace quillo {

std::string DocumentsFolder() {
  // Without a home folder the documents folder would land below "/".
  if (QDir::homePath() == QDir::rootPath()) return {};
  // Only named here: the folder is made when an output first goes there.
  const QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return path.toStdString();
}

std::string ConfigFilePath() {
  if (const char* path = std::getenv("QUILLO_CONFIG"); path != nullptr && *path != '\0') {
    return path;
  }
  // The generic config location follows XDG_CONFIG_HOME and falls back to
  // ~/.config.
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return (base + QStringLiteral("/Quillo 3/quillo.conf")).toStdString();
}

}  // namespace quillo
