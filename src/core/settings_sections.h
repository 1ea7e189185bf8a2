#pragma once

#include <QString>

// The sections of the settings store, named once. Each section's keys have
// one owner class (see docs/ARCHITECTURE.md); only the names live here.
namespace SettingsSections {
inline const QString kSettings = QStringLiteral("Settings");    // identities, callbook logins
inline const QString kServers = QStringLiteral("Servers");      // server addresses
inline const QString kOptions = QStringLiteral("Options");      // the Options menu's switches
inline const QString kFirst = QStringLiteral("First");          // a run has ended normally
inline const QString kReport = QStringLiteral("Report");        // the month's totals
inline const QString kNewMember = QStringLiteral("NewMember");  // the month's new members
inline const QString kScreen = QStringLiteral("Screen");        // look of the lists
inline const QString kForm = QStringLiteral("Form");            // look of the window
inline const QString kFormData = QStringLiteral("FormData");    // look of the net info
inline const QString kPrint = QStringLiteral("Print");          // the printer font
inline const QString kShare = QStringLiteral("Share");          // the broker a net is shared through
}  // namespace SettingsSections
