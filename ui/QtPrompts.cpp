#include "ui/QtPrompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/OpenFileFilters.h"
#include "ui/Shell.h"

namespace quillo {

namespace {
const QString kTitle = QStringLiteral("Quillo");
}  // namespace

void QtPrompts::Inform(const std::string& text) {
  QMessageBox::information(parent_, kTitle, QString::fromStdString(text));
}

void QtPrompts::Warn(const std::string& text) {
  QMessageBox::warning(parent_, kTitle, QString::fromStdString(text));
}

bool QtPrompts::AskYesNo(const std::string& text) {
  return QMessageBox::question(parent_, kTitle, QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::AskOutputFile(const std::string& suggestedPath) {
  const QFileInfo suggested(QString::fromStdString(suggestedPath));
  const QString extension = suggested.suffix();
  QFileDialog dialog(parent_, kTitle, suggested.absolutePath());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(
      QStringLiteral("%1 File (%2)").arg(extension.toUpper(), AnyCasePattern("*." + extension)));
  dialog.setDefaultSuffix(extension);
  // The suggested name is offered, ready to accept or edit.
  if (!suggested.completeBaseName().isEmpty()) dialog.selectFile(suggested.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

void QtPrompts::OpenLocation(const std::string& location) { shell_.Open(location); }

}  // namespace quillo
