#pragma once

// The printers installed on the system.
class Printers {
public:
    virtual ~Printers() = default;
    virtual int count() const = 0;
};
