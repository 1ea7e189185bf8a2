#pragma once

#include "printers.h"

class QtPrinters : public Printers {
public:
    int count() const override;
};
