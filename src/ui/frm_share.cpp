#include "frm_share.h"

#include "share/share_address.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* box(QWidget* parent, const char* name, const QString& text, const QString& accessible)
{
    auto* b = new QLineEdit(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(accessible);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 22);
    return b;
}

}  // namespace

frmShare::frmShare(Mode mode, const ShareSettings::Values& offered, const QString& password, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShare"));
    setWindowTitle(mode == Mode::Share ? QStringLiteral("SHARE THE NET") : QStringLiteral("FOLLOW A NET"));
    setModal(true);

    txtHost = box(this, "txtHost", offered.host, QStringLiteral("Broker host"));
    txtPort = new QSpinBox(this);
    txtPort->setObjectName(QStringLiteral("txtPort"));
    txtPort->setAccessibleName(QStringLiteral("Broker port"));
    txtPort->setRange(1, 65535);
    txtPort->setValue(offered.port);
    chkTls = new QCheckBox(QStringLiteral("Use &TLS"), this);
    chkTls->setObjectName(QStringLiteral("chkTls"));
    chkTls->setChecked(offered.tls);
    txtCaFile = box(this, "txtCaFile", offered.caFile, QStringLiteral("Certificate authority file"));
    txtCaFile->setPlaceholderText(QStringLiteral("the system's authorities"));
    txtUser = box(this, "txtUser", offered.user, QStringLiteral("Broker user"));
    txtPassword = box(this, "txtPassword", password, QStringLiteral("Broker password"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtNetId = box(this, "txtNetId", offered.netId, QStringLiteral("Net id"));
    lblProblem = new QLabel(this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);

    // The usual port follows the TLS box unless another was typed.
    connect(chkTls, &QCheckBox::toggled, this, [this](bool tls) {
        if (txtPort->value() == ShareAddress::kPlainPort || txtPort->value() == ShareAddress::kTlsPort)
            txtPort->setValue(tls ? ShareAddress::kTlsPort : ShareAddress::kPlainPort);
        txtCaFile->setEnabled(tls);
    });
    txtCaFile->setEnabled(offered.tls);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Broker &host:"), txtHost);
    form->addRow(QStringLiteral("&Port:"), txtPort);
    form->addRow(QString(), chkTls);
    form->addRow(QStringLiteral("&CA file:"), txtCaFile);
    form->addRow(QStringLiteral("&User:"), txtUser);
    form->addRow(QStringLiteral("Pass&word:"), txtPassword);
    form->addRow(QStringLiteral("&Net id:"), txtNetId);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit* b : {txtHost, txtNetId})
        connect(b, &QLineEdit::textChanged, this, &frmShare::check);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(lblProblem);
    outer->addWidget(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    check();
}

void frmShare::check()
{
    QString problem;
    if (txtHost->text().trimmed().isEmpty())
        problem = QStringLiteral("Type the broker's host name or address.");
    else if (!IsNetId(txtNetId->text().trimmed()))
        problem = QStringLiteral("The net id is lower-case letters, digits and '-', like %1.")
                      .arg(NetIdOf(txtNetId->text()));
    lblProblem->setText(problem);
    lblProblem->setVisible(!problem.isEmpty());
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttons")))
        buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

ShareSettings::Values frmShare::values() const
{
    ShareSettings::Values v;
    v.host = txtHost->text().trimmed();
    v.port = txtPort->value();
    v.tls = chkTls->isChecked();
    v.caFile = txtCaFile->text().trimmed();
    v.user = txtUser->text().trimmed();
    v.netId = txtNetId->text().trimmed();
    return v;
}

QString frmShare::password() const { return txtPassword->text(); }
