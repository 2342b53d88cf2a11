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

// The session bus, or the connection of that name.
QDBusConnection Bus(const QString& name) {
  return name.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(name);
}

}  // namespace

void DesktopShell::Open(const std::string& location) {
  // Failures to open are not reported: the desktop says so itself, or there
  // is nothing the user could do about it here.
  QDesktopServices::openUrl(LocationUrl(location));
}

void DesktopShell::Reveal(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  const QString folder = file.absolutePath();
  const auto openFolder = [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
  const QDBusConnection bus = Bus(busName_);
  // Without a bus no call could ever answer: the folder opens at once.
  if (!bus.isConnected()) return openFolder();
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(file.absoluteFilePath()).toString()} << QString();
  // The file manager answers later, or not at all: the window does not wait
  // for it. Without an answer the folder opens instead.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [openFolder](QDBusPendingCallWatcher* finished) {
                     if (finished->isError()) openFolder();
                     finished->deleteLater();
                   });
}

void DesktopShell::Notify(const std::string& title, const std::string& text) {
  const QDBusConnection bus = Bus(busName_);
  if (!bus.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  // Application, no notice to replace, icon, summary, body, no actions, no
  // hints, the server's own timeout. Nobody waits for the answer: without a
  // notification service the call fails quietly.
  call << QStringLiteral("Quillo") << 0u << QStringLiteral("quillo")
       << QString::fromStdString(title) << QString::fromStdString(text) << QStringList()
       << QVariantMap() << -1;
  bus.asyncCall(call);
}

}  // namespace quillo
