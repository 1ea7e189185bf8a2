#pragma once

#include "core/program_state.h"
#include "report/report_window_model.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class SettingsStore;
struct Platform;

// The monthly report: shows the running totals and the month's new members,
// copies them to the clipboard as a ready-made e-mail text, prints them and
// resets them. Opened without blocking the main window; loads each time it
// is shown after being closed.
class FrmReport : public QDialog {
    Q_OBJECT
public:
    // printerCount: the printers counted when the main window loaded; with
    // none, PRINT is disabled.
    FrmReport(Platform& platform, ProgramState& state, SettingsStore& settings, int printerCount,
              QWidget* parent = nullptr);
    ~FrmReport() override;

    const ReportWindowModel& model() const { return model_; }

    // --- handlers
    void Form_Load();
    void cmdCopy_Click();
    void cmdPrint_Click();
    void cmdReset_Click();
    void cmdClose_Click();

    QLabel* lblSessions = nullptr;
    QLabel* lblSC = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblTchkin = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblTC = nullptr;
    QLabel* lblAdditions = nullptr;
    QListWidget* LstNewMem = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The month window, modal; it changes the report month (and year).
    void chooseMonth();
    // Shows what the model holds.
    void mirror();

    Platform& platform_;
    ProgramState& state_;
    int printerCount_;
    ReportWindowModel model_;
    bool loaded_ = false;
};
