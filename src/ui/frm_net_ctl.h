#pragma once

#include "members/net_manager.h"

#include <QDialog>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class SettingsStore;

// Changes the net manager shown in the main window's net-info frame. Opened
// modally from the Edit menu or modelessly from the frame's CHANGE button.
class FrmNetCtl : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Change NET CONTROL/MANAGER");

    // lblNetMgrCaption: the main window's manager label as it reads now; the
    // boxes are filled from `current` only when it is not empty.
    FrmNetCtl(SettingsStore& settings, const NetManager& current, const QString& lblNetMgrCaption,
              QWidget* parent = nullptr);
    ~FrmNetCtl() override;

    // Set just before the Edit menu opens the dialog; cleared when it closes.
    void setOpenedFromMenu(bool on) { openedFromMenu_ = on; }
    bool openedFromMenu() const { return openedFromMenu_; }
    // The manager as last changed here (or as handed in).
    NetManager current() const { return current_; }

    // --- handlers
    void Form_Load();
    void cmdChange_Click();
    void CmdClrNM_Click();
    void cmdClose_Click();
    void TxtMgrName_LostFocus();
    void TxtMgrCall_LostFocus();
    void Form_Unload();

    // Every way of closing (CLOSE, the close box, Escape) ends here.
    void done(int result) override;

    QMenuBar* menuBar = nullptr;
    QMenu* mnuAltNC = nullptr;
    QAction* mnuAltNCEdit = nullptr;
    QAction* mnuAltNCDelete = nullptr;
    QGroupBox* FraNetMgr = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* TxtMgrName = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TxtMgrCall = nullptr;
    QPushButton* cmdChange = nullptr;
    QPushButton* CmdClrNM = nullptr;
    QPushButton* cmdClose = nullptr;

signals:
    // The manager was changed and stored; the main window shows it in lblNetMgr.
    void managerChanged(const QString& name, const QString& call);
    // The dialog closed and was not opened from the menu: the check-in box
    // takes the keyboard again.
    void returnFocusToCheckIn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    SettingsStore& settings_;
    NetManager current_;
    QString lblNetMgrCaption_;
    bool openedFromMenu_ = false;
};
