#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The seasonal greeting: three pictures from the documents folder in turn,
// closing itself after 15.5 seconds.
class frmXmas : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("MERRY CHRISTMAS FROM HAL, RUTH AND THE TARVEN NET");
    static constexpr int kFrameMs = 200;
    static constexpr int kCloseMs = 15500;

    // documentsFolder: where "Xmas-0.gif".."Xmas-2.gif" are (empty: bare names).
    explicit frmXmas(const QString& documentsFolder, QWidget* parent = nullptr);
    ~frmXmas() override;

    // The picture the next frame loads (0..2).
    int frameCounter() const { return counter_; }
    // The picture file last shown; empty while none could be loaded.
    QString shownPicture() const { return shown_; }

    // --- handlers
    void TimeXmas_Timer();
    void Timer1_Timer();

    QLabel* Image1 = nullptr;
    QTimer* TimeXmas = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString folder_;
    int counter_ = 0;
    QString shown_;
};
