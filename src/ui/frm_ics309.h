#pragma once

#include "export/ics309_setting.h"

#include <QDialog>

class QDateTimeEdit;
class QLineEdit;

// Asks for the ICS 309 boxes the net does not know (incident, net name or
// tactical call, operational period) before the log is written; OK takes
// them, Cancel writes no log.
class frmIcs309 : public QDialog {
    Q_OBJECT
public:
    frmIcs309(const Ics309Details& offered, QWidget* parent = nullptr);
    Ics309Details details() const;

    QLineEdit* txtIncident = nullptr;
    QLineEdit* txtNetName = nullptr;
    QDateTimeEdit* dtpFrom = nullptr;
    QDateTimeEdit* dtpTo = nullptr;
};
