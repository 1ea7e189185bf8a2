#include "qt_prompts.h"

#include <QApplication>
#include <QMessageBox>

void QtPrompts::message(const QString& text, Icon icon, const QString& title)
{
    QMessageBox::Icon qtIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information: qtIcon = QMessageBox::Information; break;
    case Icon::Warning: qtIcon = QMessageBox::Warning; break;
    case Icon::Critical: qtIcon = QMessageBox::Critical; break;
    case Icon::Question: qtIcon = QMessageBox::Question; break;
    }
    QMessageBox box(qtIcon, title.isEmpty() ? kProgramTitle : title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
