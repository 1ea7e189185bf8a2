#pragma once

#include "paths.h"
#include "report_types.h"

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
    // The monthly totals as last loaded, and the month the report is for.
    NetReport report;
    ReportPeriod reportPeriod;
    // Sessions added to the report in this run.
    int sessionsThisRun = 0;
    // A newer program was parked in the temporary folder in this run.
    bool updateDownloaded = false;
    // The command line's broker address to share the net on, or to follow one.
    QString shareAddress;
    QString followAddress;
    QString sharePassword;  // from a password file; never written anywhere
    QString shareCaFile;
};
