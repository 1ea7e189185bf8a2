#pragma once

#include "members/operator_identity.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Asks at start-up who operates the program and whether they are today's net
// control. Closing the window any way counts as Continue: the start cannot
// be cancelled.
class frmUserName : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("USER INFORMATION");

    explicit frmUserName(QWidget* parent = nullptr);
    ~frmUserName() override;

    // The stored name and call, shown as they are.
    void setPrefill(const QString& name, const QString& call);
    // The answers taken by Continue: name and call in upper case, net control
    // only when "YES" was selected. Empty until Continue.
    OperatorIdentity result() const { return result_; }

    // --- handlers
    void Form_Load();
    void CmdExit_Click();

    void reject() override;

    QLabel* lblUserName = nullptr;
    QLineEdit* txtUser = nullptr;
    QLabel* lblYourCallsign = nullptr;
    QLineEdit* txtUserCall = nullptr;
    QLabel* lblNCQuery = nullptr;
    QRadioButton* OptYes = nullptr;
    QPushButton* CmdExit = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    OperatorIdentity result_;
};
