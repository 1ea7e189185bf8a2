#include "printer_setting.h"

#include "settings_store.h"

namespace {
const QString kSection = QStringLiteral("Print");
const QString kKey = QStringLiteral("Printer");
}  // namespace

QString PrinterSetting::printerName() const { return store_.GetSetting(kSection, kKey); }

void PrinterSetting::setPrinterName(const QString& name) { store_.SaveSetting(kSection, kKey, name); }
