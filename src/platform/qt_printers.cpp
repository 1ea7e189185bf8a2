#include "qt_printers.h"

#include <QPrinterInfo>

int QtPrinters::count() const { return int(QPrinterInfo::availablePrinterNames().size()); }
