#include "ui/WindowLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quillo {

WindowLanguage::WindowLanguage(const QLocale& locale) {
  // The program's catalogues are built into it; Qt's lie where Qt keeps them
  // (qt6-translations-l10n), and a missing one only leaves Qt's own texts
  // in English.
  const auto install = [this, &locale](const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) return false;
    if (!QCoreApplication::installTranslator(translator.get())) return false;
    installed_.push_back(std::move(translator));
    return true;
  };
  translated_ = install(QStringLiteral("quillo"), QStringLiteral(":/i18n"));
  if (translated_)
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

WindowLanguage::~WindowLanguage() {
  for (const auto& translator : installed_) QCoreApplication::removeTranslator(translator.get());
}

}  // namespace quillo
