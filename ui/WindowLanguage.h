#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <vector>

namespace quillo {

// Installs the window's translation for `locale` (German and French ship
// with the program; any other language keeps the English texts) and Qt's own
// for its standard buttons and dialogs where the system has it. Removes them
// again when it goes, so that a test can switch languages.
class WindowLanguage {
 public:
  explicit WindowLanguage(const QLocale& locale);
  ~WindowLanguage();
  WindowLanguage(const WindowLanguage&) = delete;
  WindowLanguage& operator=(const WindowLanguage&) = delete;

  // True when the window's own texts are translated.
  bool Translated() const { return translated_; }

 private:
  std::vector<std::unique_ptr<QTranslator>> installed_;
  bool translated_ = false;
};

}  // namespace quillo
