#include "printer_setting.h"
#include "settings_sections.h"

#include "settings_store.h"

namespace {
const QString& kSection = SettingsSections::kPrint;
const QString kKey = QStringLiteral("Printer");
}  // namespace

QString PrinterSetting::printerName() const { return store_.GetSetting(kSection, kKey); }

void PrinterSetting::setPrinterName(const QString& name) { store_.SaveSetting(kSection, kKey, name); }
