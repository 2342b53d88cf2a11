#include "settings/IniSettingsProvider.h"

#include <sys/stat.h>

#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cerrno>
#include <cstring>
#include <optional>

namespace quillo {
namespace {

QString Key(std::string_view group, std::string_view name) {
  return QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + u'/' +
         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The text after "=" of `key` ("Options/ID3/Title": section "Options", line
// "ID3\Title=...") as the file holds it, blanks around it removed; nothing
// when the line is not found.
std::optional<QString> RawValue(const QString& file, const QString& key) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  const qsizetype slash = key.indexOf(u'/');
  const QString section = u'[' + key.left(slash) + u']';
  QString name = key.mid(slash + 1);
  name.replace(u'/', u'\\');
  bool inSection = false;
  std::optional<QString> found;
  while (!in.atEnd()) {
    const QString line = QString::fromUtf8(in.readLine()).trimmed();
    if (line.startsWith(u'[')) {
      inSection = line.compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (inSection && equals > 0 && line.left(equals).trimmed() == name)
      found = line.mid(equals + 1).trimmed();  // the last one wins, as in QSettings
  }
  return found;
}

// Empty when `path` names a regular file or nothing; otherwise why it cannot
// be the settings file.
std::string FileProblem(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return {};
    return "the settings file \"" + path + "\" cannot be read (" + std::strerror(errno) +
           "); the default settings are used";
  }
  if (S_ISREG(info.st_mode)) return {};
  return "the settings file \"" + path +
         "\" is not a regular file; the default settings are used and nothing is stored";
}

}  // namespace

IniSettingsProvider::IniSettingsProvider(const std::string& path) : problem_(FileProblem(path)) {
  if (!problem_.empty()) return;
  settings_ = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
  // A file we cannot parse is not trusted for any value; the defaults stay.
  readable_ = settings_->status() == QSettings::NoError;
}

IniSettingsProvider::~IniSettingsProvider() = default;

bool IniSettingsProvider::hasGroup(std::string_view group) const {
  if (!readable_) return false;
  settings_->beginGroup(QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())));
  const bool any = !settings_->allKeys().isEmpty();
  settings_->endGroup();
  return any;
}

std::optional<int32_t> IniSettingsProvider::readNumber(std::string_view group,
                                                       std::string_view name) const {
  if (!readable_) return std::nullopt;
  const QVariant value = settings_->value(Key(group, name));
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return std::nullopt;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return static_cast<int32_t>(number);
}

std::optional<std::string> IniSettingsProvider::readText(std::string_view group,
                                                         std::string_view name) const {
  if (!readable_) return std::nullopt;
  const QVariant value = settings_->value(Key(group, name));
  if (!value.isValid()) return std::nullopt;
  // An unquoted text with commas, as a hand-edited file may hold it, reads
  // back as a list with the blanks after each comma lost; it is still the one
  // text the user wrote, so take it from the file as written.
  if (value.typeId() == QMetaType::QStringList) {
    const std::optional<QString> raw = RawValue(settings_->fileName(), Key(group, name));
    if (raw && !raw->contains(u'"') && !raw->contains(u'\\')) return raw->toStdString();
    return value.toStringList().join(u',').toStdString();
  }
  return value.toString().toStdString();
}

void IniSettingsProvider::writeNumber(std::string_view group, std::string_view name,
                                      int32_t value) {
  if (!settings_) return;
  settings_->setValue(Key(group, name), static_cast<int>(value));
}

void IniSettingsProvider::writeText(std::string_view group, std::string_view name,
                                    std::string_view value) {
  if (!settings_) return;
  settings_->setValue(Key(group, name),
                      QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

bool IniSettingsProvider::commit() {
  if (!settings_) return false;
  settings_->sync();
  // A format error from reading a broken file stays in the status; only a
  // failed write is a failure here, and the write replaces the broken file.
  return settings_->status() != QSettings::AccessError;
}

}  // namespace quillo
