#pragma once

#include <QString>

class SettingsStore;

// The printer chosen in the page set-up, kept for the next start under
// "Print"/"Printer"; empty means the system's default printer.
class PrinterSetting {
public:
    explicit PrinterSetting(SettingsStore& store) : store_(store) {}
    QString printerName() const;
    void setPrinterName(const QString& name);

private:
    SettingsStore& store_;
};
