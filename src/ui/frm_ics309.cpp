#include "frm_ics309.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateTimeEdit* timeBox(const QDateTime& at, QWidget* parent)
{
    auto* box = new QDateTimeEdit(parent);
    box->setTimeSpec(Qt::UTC);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm'Z'"));
    box->setDateTime(at.toUTC());
    return box;
}

}  // namespace

frmIcs309::frmIcs309(const Ics309Details& offered, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIcs309"));
    setWindowTitle(QStringLiteral("ICS 309 Communications Log"));
    setModal(true);

    txtIncident = new QLineEdit(offered.incidentName, this);
    txtIncident->setObjectName(QStringLiteral("txtIncident"));
    txtIncident->setAccessibleName(QStringLiteral("Incident name"));
    txtNetName = new QLineEdit(offered.netName, this);
    txtNetName->setObjectName(QStringLiteral("txtNetName"));
    txtNetName->setAccessibleName(QStringLiteral("Radio net name or tactical call"));
    dtpFrom = timeBox(offered.periodFrom, this);
    dtpFrom->setObjectName(QStringLiteral("dtpFrom"));
    dtpFrom->setAccessibleName(QStringLiteral("Operational period from, UTC"));
    dtpTo = timeBox(offered.periodTo, this);
    dtpTo->setObjectName(QStringLiteral("dtpTo"));
    dtpTo->setAccessibleName(QStringLiteral("Operational period to, UTC"));
    for (QLineEdit* box : {txtIncident, txtNetName})
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&1. Incident name:"), txtIncident);
    form->addRow(QStringLiteral("&3. Radio net name or tactical call:"), txtNetName);
    form->addRow(QStringLiteral("2. Operational period &from (UTC):"), dtpFrom);
    form->addRow(QStringLiteral("&to (UTC):"), dtpTo);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A period that ends before it begins is no period.
    auto check = [this, buttons] { buttons->button(QDialogButtonBox::Ok)->setEnabled(dtpFrom->dateTime() <= dtpTo->dateTime()); };
    connect(dtpFrom, &QDateTimeEdit::dateTimeChanged, this, check);
    connect(dtpTo, &QDateTimeEdit::dateTimeChanged, this, check);
    check();

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

Ics309Details frmIcs309::details() const
{
    return {txtIncident->text().trimmed(), txtNetName->text().trimmed(), dtpFrom->dateTime().toUTC(),
            dtpTo->dateTime().toUTC()};
}
