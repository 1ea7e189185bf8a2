#pragma once

#include <QDate>
#include <QWidget>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QTimer;
class FitLabel;
class SettingsStore;
class frmMain;
struct Platform;
struct ProgramState;

// The first window of a run. Its load runs the start-up (date texts, the
// operator's identity, the update check, net manager, QRZ login offer, report
// reset reminder, saying of the day); five seconds later Timer1 shows the
// seasonal greeting when due, opens the main window and closes the splash.
class frmsplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHandOverMs = 5000;

    frmsplash(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent = nullptr);
    ~frmsplash() override;

    // The start-up; the caller shows the splash first. Every step after the
    // date texts and credits skips its own failure.
    void Form_Load();
    // The hand-over to the main window.
    void Timer1_Timer();

    // The main window, once made (at the latest by the hand-over).
    frmMain* mainWindow() const { return main_.get(); }
    // The saying number drawn at load (1..10; 0 before).
    int sayingNumber() const { return sayingNumber_; }
    // The operator's name as stored once the identity is settled.
    QString operatorName() const { return operatorName_; }

    QGroupBox* fraSplash = nullptr;
    QLabel* WinLogo = nullptr;
    QLabel* TsnLogo = nullptr;
    FitLabel* Label2 = nullptr;
    FitLabel* Label5 = nullptr;
    FitLabel* Label3 = nullptr;
    FitLabel* lblName = nullptr;
    FitLabel* Label6 = nullptr;
    FitLabel* lblNetCtlName = nullptr;
    FitLabel* lblNetCtlCall = nullptr;
    FitLabel* lblGM = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    // A click or any key goes on to the main window at once.
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void settleIdentity();
    void checkForUpdates();
    void showNetControl();
    void offerQrzLogin();
    void showSaying();
    frmMain& ensureMainWindow();

    Platform& platform_;
    ProgramState& state_;
    SettingsStore& settings_;
    QDate today_;
    std::unique_ptr<frmMain> main_;
    int sayingNumber_ = 0;
    QString operatorName_;
};
