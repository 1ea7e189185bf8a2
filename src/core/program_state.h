#pragma once

#include "paths.h"

#include <QString>

// The program-wide values, set at start-up and read everywhere; owned by
// main() and passed by reference.
struct ProgramState {
    Paths paths;
    // Screen size in pixels, measured at start-up.
    int screenWidth = 0;
    int screenHeight = 0;
    QString netControlName;
    QString netControlCall;
    QString netManagerName;
    QString netManagerCall;
};
