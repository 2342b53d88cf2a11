#pragma once

#include "ui/OptSheet.h"

namespace quillo {

class ConversionSettings;
class SettingsStore;

// The Options command: the sheet on the current settings. OK copies the
// pages back, rebuilds the extension filter and stores the options; Cancel
// changes nothing. Either way the page shown last becomes the next start page.
void RunOptions(QWidget* parent, ConversionSettings& settings, SettingsStore& store,
                const OptionsServices& services);

}  // namespace quillo
