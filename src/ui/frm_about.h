#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class FitButton;
class FitLabel;

// The about box; opened without blocking, so it can stay beside the main
// window while the operator works.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("TSN NET - ABOUT");
    // The six lines of Text1, joined by CR LF.
    static const QString kText;

    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    void Form_Load();
    void cmdExit_Click();

    QLabel* Image1 = nullptr;
    FitLabel* lblTitle = nullptr;
    FitLabel* Label1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    FitButton* cmdExit = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
