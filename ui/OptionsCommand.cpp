#include "ui/OptionsCommand.h"

#include <QApplication>
#include <memory>

#include "engine/UserPrompts.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsStore.h"
#include "ui/Translate.h"

namespace quillo {

void RunOptions(QWidget* parent, ConversionSettings& settings, SettingsStore& store,
                const OptionsServices& services) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto sheet = std::make_unique<COptSheet>(parent, settings, services);
  QApplication::restoreOverrideCursor();
  if (sheet->exec() == QDialog::Accepted) {
    sheet->ApplyTo(settings);
    settings.rebuildExtensionFilter();
    // The options still apply for this session; the user learns that they
    // will not be there next time.
    if (!store.save(settings, kSaveOptions))
      services.prompts.Warn(
          Tr("The options could not be saved. They apply until Quillo is closed.").toStdString());
  }
  settings.optStartPageIndex = sheet->CurrentIndex();
}

}  // namespace quillo
