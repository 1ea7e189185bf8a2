#pragma once

#include "core/program_state.h"
#include "report/report_editor_model.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SettingsStore;
struct Platform;

// Corrects the stored monthly report by hand: the three totals and the list
// of new members. Opened modally; loads when first shown. Only DELETE (at
// once) and SAVE CHANGES write the store; closing the window any way is EXIT.
class frmReportEditor : public QDialog {
    Q_OBJECT
public:
    frmReportEditor(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent = nullptr);
    ~frmReportEditor() override;

    const ReportEditorModel& model() const { return model_; }

    // --- handlers
    void Form_Load();
    void txtSessions_Change();
    void txtCheckins_Change();
    void txtTraffic_Change();
    void txtAdd_Change();
    void lstNewMember_Click();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdMove_Click();
    void cmdDelete_Click();
    void cmdSave_Click();
    void CmdExit_Click();

    void reject() override;

    QLabel* lblSessions = nullptr;
    QLineEdit* txtSessions = nullptr;
    QLabel* lblcheckin = nullptr;
    QLineEdit* txtCheckins = nullptr;
    QLabel* LBLTraffic = nullptr;
    QLineEdit* txtTraffic = nullptr;
    QLabel* LBLNEW = nullptr;
    QListWidget* lstNewMember = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtAdd = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdMove = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Shows what the model holds; the boxes' and the list's own signals are
    // held back meanwhile, since only the operator's changes go to the model.
    void mirror();

    Platform& platform_;
    ProgramState& state_;
    ReportEditorModel model_;
    bool loaded_ = false;
};
