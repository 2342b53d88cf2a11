#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "ui/Shell.h"

namespace quillo {

namespace {

// "https://...", "mailto:..." are addresses; anything else is a path, so a
// file named "01:30.mp3" is not taken for a scheme.
QUrl LocationUrl(const std::string& location) {
  const QString text = QString::fromStdString(location);
  if (text.startsWith(u'/')) return QUrl::fromLocalFile(text);
  const QUrl url(text, QUrl::StrictMode);
  if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) return url;
  return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

}  // namespace

void DesktopShell::Open(const std::string& location) {
  // Failures to open are not reported: the desktop says so itself, or there
  // is nothing the user could do about it here.
  QDesktopServices::openUrl(LocationUrl(location));
}

void DesktopShell::Reveal(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(file.absoluteFilePath()).toString()} << QString();
  // The file manager answers later, or not at all: the window does not wait
  // for it. Without an answer the folder opens instead.
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 3000));
  const QString folder = file.absolutePath();
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [folder](QDBusPendingCallWatcher* finished) {
                     if (finished->isError())
                       QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
                     finished->deleteLater();
                   });
}

}  // namespace quillo
