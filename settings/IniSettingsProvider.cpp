#include "settings/IniSettingsProvider.h"

#include <unistd.h>

#include <QFile>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>

#include "settings/SettingsDocument.h"

namespace quillo {
namespace {

// How long a save waits for another program's save of the same file.
constexpr int kLockWaitMs = 10000;

QString Key(std::string_view group, std::string_view name) {
  return QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + u'/' +
         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The text after "=" of `key` ("Options/ID3/Title": section "Options", line
// "ID3\Title=...") as the file holds it, blanks around it removed; nothing
// when the line is not found.
std::optional<QString> RawValue(const std::string& text, const QString& key) {
  const qsizetype slash = key.indexOf(u'/');
  const QString section = u'[' + key.left(slash) + u']';
  QString name = key.mid(slash + 1);
  name.replace(u'/', u'\\');
  bool inSection = false;
  std::optional<QString> found;
  std::istringstream in(text);
  for (std::string bytes; std::getline(in, bytes);) {
    const QString line = QString::fromStdString(bytes).trimmed();
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

bool IsBlank(const std::string& bytes) {
  return bytes.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
}

// Why a parsed text is not ours to rewrite; empty when it is. A text with
// none of our values but something else is some other program's file.
std::string ParseProblem(const std::string& bytes, const QSettings& ini) {
  if (ini.status() == QSettings::FormatError) return "has lines that cannot be read as settings";
  if (IsBlank(bytes)) return {};
  for (const QString& key : ini.allKeys())
    if (key.startsWith(QStringLiteral("Options/"))) return {};
  return "holds none of Quillo's settings";
}

std::string ErrnoText() { return std::strerror(errno); }

// A private copy of a file's bytes under a name of its own. QSettings keeps
// what it parsed of a file by name for the whole process, and reports a
// line it cannot parse only when it reads the file: every parse and every
// save goes through a new copy.
class ScratchCopy {
 public:
  explicit ScratchCopy(const std::string& bytes) {
    if (!dir_.isValid()) {
      error_ = dir_.errorString().toStdString();
      return;
    }
    path_ = dir_.filePath(QStringLiteral("quillo.conf"));
    QFile file(path_);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size || !file.flush())
      error_ = file.errorString().toStdString();
  }

  const QString& path() const { return path_; }
  // Why the copy could not be made; empty when it is there.
  const std::string& error() const { return error_; }

 private:
  QTemporaryDir dir_;
  QString path_;
  std::string error_;
};

}  // namespace

struct IniSettingsProvider::Values {
  QMap<QString, QVariant> all;
  QMap<QString, QVariant> written;
};

IniSettingsProvider::IniSettingsProvider(const std::string& path)
    : path_(path), values_(std::make_unique<Values>()) {
  const SettingsDocument document = ReadSettingsDocument(path);
  if (document.state == SettingsDocument::State::Missing) return;
  std::string why = document.problem;
  if (why.empty()) why = BinaryProblem(document.bytes);
  if (!why.empty()) {
    problem_ = naming() + " " + why + "; the default settings are used and nothing is stored";
    refusal_ = why;
    return;
  }
  text_ = document.bytes;
  // Without a temporary folder the file itself is parsed; only a second
  // load of it in this process could then miss a line that does not parse.
  const ScratchCopy copy(text_);
  const QSettings ini(copy.error().empty() ? copy.path() : QString::fromStdString(path),
                      QSettings::IniFormat);
  refusal_ = ParseProblem(text_, ini);
  if (ini.status() == QSettings::FormatError)
    problem_ = naming() + " " + refusal_ +
               "; the values that can be read are used and the file is not saved over";
  else if (!refusal_.empty())
    problem_ = naming() + " " + refusal_ + "; the default settings are used and nothing is stored";
  for (const QString& key : ini.allKeys()) values_->all.insert(key, ini.value(key));
}

IniSettingsProvider::~IniSettingsProvider() = default;

std::string IniSettingsProvider::naming() const { return "the settings file \"" + path_ + "\""; }

bool IniSettingsProvider::hasGroup(std::string_view group) const {
  const QString prefix =
      QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + u'/';
  const auto first = values_->all.lowerBound(prefix);
  return first != values_->all.end() && first.key().startsWith(prefix);
}

std::optional<int32_t> IniSettingsProvider::readNumber(std::string_view group,
                                                       std::string_view name) const {
  const QVariant value = values_->all.value(Key(group, name));
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return std::nullopt;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return static_cast<int32_t>(number);
}

std::optional<std::string> IniSettingsProvider::readText(std::string_view group,
                                                         std::string_view name) const {
  const QString key = Key(group, name);
  const QVariant value = values_->all.value(key);
  if (!value.isValid()) return std::nullopt;
  // An unquoted text with commas, as a hand-edited file may hold it, reads
  // back as a list with the blanks after each comma lost; it is still the one
  // text the user wrote, so take it from the file as written.
  if (value.typeId() == QMetaType::QStringList) {
    const std::optional<QString> raw = RawValue(text_, key);
    if (raw && !raw->contains(u'"') && !raw->contains(u'\\')) return raw->toStdString();
    return value.toStringList().join(u',').toStdString();
  }
  return value.toString().toStdString();
}

void IniSettingsProvider::writeNumber(std::string_view group, std::string_view name,
                                      int32_t value) {
  const QString key = Key(group, name);
  values_->all.insert(key, static_cast<int>(value));
  values_->written.insert(key, static_cast<int>(value));
}

void IniSettingsProvider::writeText(std::string_view group, std::string_view name,
                                    std::string_view value) {
  const QString key = Key(group, name);
  const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
  values_->all.insert(key, text);
  values_->written.insert(key, text);
}

bool IniSettingsProvider::commit() {
  saveError_.clear();
  std::string error;
  if (store(error)) return true;
  saveError_ = naming() + " " + error;
  return false;
}

// Under the lock, the file as it is now takes what was written, so that a
// value another program stored meanwhile and we did not write stays; the
// result replaces the file whole.
bool IniSettingsProvider::store(std::string& error) const {
  if (!refusal_.empty()) {
    error = refusal_;
    return false;
  }
  const std::string target = FollowLinks(path_);
  std::error_code ec;
  if (const std::filesystem::path folder = std::filesystem::path(target).parent_path();
      !folder.empty())
    std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = "cannot be created (" + ec.message() + ")";
    return false;
  }
  QLockFile lock(QString::fromStdString(target) + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockWaitMs)) {
    error = lock.error() == QLockFile::LockFailedError
                ? "is being saved by another program"
                : "cannot be locked for saving (" +
                      std::string(lock.error() == QLockFile::PermissionError ? "permission denied"
                                                                             : "unknown error") +
                      ")";
    return false;
  }
  const SettingsDocument current = ReadSettingsDocument(target);
  if (current.state == SettingsDocument::State::Unusable) {
    error = current.problem;
    return false;
  }
  const bool exists = current.state == SettingsDocument::State::Read;
  if (exists) {
    // Root may write anything; a file its owner made read-only stays as it is.
    if ((current.info.st_mode & S_IWUSR) == 0) {
      error = "is read-only";
      return false;
    }
    if (access(target.c_str(), W_OK) != 0) {
      error = "cannot be written (" + ErrnoText() + ")";
      return false;
    }
    error = BinaryProblem(current.bytes);
    if (!error.empty()) return false;
  }

  // QSettings writes in its own way: it writes into a private copy, whose
  // bytes then replace the file.
  const ScratchCopy copy(current.bytes);
  if (!copy.error().empty()) {
    error = "cannot be prepared for saving (" + copy.error() + ")";
    return false;
  }
  {
    QSettings ini(copy.path(), QSettings::IniFormat);
    error = ParseProblem(current.bytes, ini);
    if (!error.empty()) return false;
    for (auto it = values_->written.cbegin(); it != values_->written.cend(); ++it)
      ini.setValue(it.key(), it.value());
    ini.sync();
    if (ini.status() != QSettings::NoError) {
      error = "cannot be prepared for saving";
      return false;
    }
  }
  QFile rendered(copy.path());
  if (!rendered.open(QIODevice::ReadOnly)) {
    error = "cannot be prepared for saving (" + rendered.errorString().toStdString() + ")";
    return false;
  }
  const QByteArray bytes = rendered.readAll();
  std::string reason;
  if (!ReplaceSettingsDocument(target, bytes.toStdString(), exists ? &current.info : nullptr,
                               reason)) {
    error = "cannot be written (" + reason + ")";
    return false;
  }
  return true;
}

}  // namespace quillo
