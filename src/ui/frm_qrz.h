#pragma once

#include "lookup/callbook_login.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class FitButton;
class FitLabel;
class SettingsStore;

// Asks for the QRZ and the HamQTH login and stores them through
// CallbookLogin; a login left empty keeps the stored one. "DO NOT ASK
// AGAIN" stops the start-up from asking.
class frmQRZ : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("QRZ LOGIN");
    // The explanation: two paragraphs joined by CR LF.
    static const QString kTitleText;
    static const QString kAcknowledgement;
    static inline const QString kHamQthCaption = QStringLiteral("HAMQTH LOGIN");

    explicit frmQRZ(SettingsStore& settings, QWidget* parent = nullptr);
    ~frmQRZ() override;

    // Opening from the Options menu: "DO NOT ASK AGAIN" can be changed again
    // and starts unticked; its tick is stored only when OK stores the login,
    // so CANCEL leaves everything as it was. Call before exec().
    void prepareForChange();

    // --- handlers
    void Form_Load();
    void txtQrzPassWrd_LostFocus();
    void txtHamQthPassWrd_LostFocus();
    void chkNoShow_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QPlainTextEdit* TxtTitle = nullptr;
    QGroupBox* fraQRZ = nullptr;
    FitLabel* LabelUserID = nullptr;
    QLineEdit* txtUserID = nullptr;
    FitLabel* lblQRZPassword = nullptr;
    QLineEdit* txtQrzPassWrd = nullptr;
    QGroupBox* fraHamQth = nullptr;
    FitLabel* LabelHamQthUser = nullptr;
    QLineEdit* txtHamQthUser = nullptr;
    FitLabel* lblHamQthPassword = nullptr;
    QLineEdit* txtHamQthPassWrd = nullptr;
    FitLabel* lblWhereKept = nullptr;  // where the passwords are kept
    QCheckBox* chkNoShow = nullptr;
    FitButton* cmdOK = nullptr;
    FitButton* cmdCancel = nullptr;
    FitLabel* Label1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CallbookLogin login_;
    bool changing_ = false;  // opened from the Options menu
};
