#pragma once

#include "core/report_types.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// Asks which month the report is for. Any month button sets the program-wide
// report month (DECEMBER also lowers the report year) and closes the window.
// There is no cancel button; closing the window otherwise (the close box,
// Escape) chooses nothing and leaves month and year as they were.
class frmMonth : public QDialog {
    Q_OBJECT
public:
    explicit frmMonth(ReportPeriod& period, QWidget* parent = nullptr);
    ~frmMonth() override;

    // True once a month button was clicked.
    bool chosen() const { return chosen_; }

    // --- handlers: monthNumber 1 (JANUARY) .. 12 (DECEMBER)
    void cmdMonth_Click(int monthNumber);
    void cmdDec_Click() { cmdMonth_Click(12); }

    QLabel* lblMonth = nullptr;
    QPushButton* cmdJan = nullptr;
    QPushButton* cmdFeb = nullptr;
    QPushButton* cmdMar = nullptr;
    QPushButton* cmdApr = nullptr;
    QPushButton* cmdMay = nullptr;
    QPushButton* cmdJun = nullptr;
    QPushButton* cmdJul = nullptr;
    QPushButton* cmdAug = nullptr;
    QPushButton* cmdSep = nullptr;
    QPushButton* cmdOct = nullptr;
    QPushButton* cmdNov = nullptr;
    QPushButton* cmdDec = nullptr;
    // The twelve buttons, January first.
    std::array<QPushButton*, 12> monthButtons() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ReportPeriod& period_;
    bool chosen_ = false;
};
