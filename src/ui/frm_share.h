#pragma once

#include "share/share_settings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The broker a net is shared through or followed on, and the net's id:
// "SHARE THE NET" for the net control, "FOLLOW A NET" for another seat.
// OK is offered only for a broker and an id that can be used.
class frmShare : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Share, Follow };
    frmShare(Mode mode, const ShareSettings::Values& offered, const QString& password, QWidget* parent = nullptr);

    ShareSettings::Values values() const;
    QString password() const;

    QLineEdit* txtHost = nullptr;
    QSpinBox* txtPort = nullptr;
    QCheckBox* chkTls = nullptr;
    QLineEdit* txtCaFile = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtNetId = nullptr;
    QLabel* lblProblem = nullptr;

private:
    void check();
};
