#pragma once

#include <QDialog>

class FitLabel;
class QPushButton;

// Says "CHECKING FOR UPDATES" while the start-up asks the update server;
// shown without blocking, closed when the check ends.
class frmUpdate : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("CHECKING FOR UPDATES");
    static inline const QString kWait = QStringLiteral("THIS MAY TAKE A WHILE - DEPENDING ON YOUR INTERNET SPEED");

    explicit frmUpdate(QWidget* parent = nullptr);
    ~frmUpdate() override;

    // The second line, told by the update check ("DOWNLOADING NEW VERSION").
    void setCaption1(const QString& text);

    void Form_Load();
    // SKIP: the check ends at once and the start goes on.
    void cmdSkip_Click();
    bool skipped() const { return skipped_; }

    FitLabel* lblUpdate = nullptr;
    FitLabel* lblUpdate1 = nullptr;
    QPushButton* cmdSkip = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool skipped_ = false;
};
