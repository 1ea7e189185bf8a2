#include "qt_prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

#include <algorithm>

namespace {

QMessageBox::Icon qtIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::None: return QMessageBox::NoIcon;
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning:
    case Prompts::Icon::Exclamation: return QMessageBox::Warning;
    case Prompts::Icon::Critical: return QMessageBox::Critical;
    case Prompts::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(Prompts::Answer a)
{
    switch (a) {
    case Prompts::Answer::Ok: return QMessageBox::Ok;
    case Prompts::Answer::Cancel: return QMessageBox::Cancel;
    case Prompts::Answer::Yes: return QMessageBox::Yes;
    case Prompts::Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

}  // namespace

void QtPrompts::message(const QString& text, Icon icon, const QString& title)
{
    QMessageBox box(qtIcon(icon), title.isEmpty() ? kProgramTitle : title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

Prompts::Answer QtPrompts::ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon,
                               const QString& title)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case Buttons::Ok: set = QMessageBox::Ok; break;
    case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(qtIcon(icon), title.isEmpty() ? kProgramTitle : title, text, set, QApplication::activeWindow());
    box.setDefaultButton(qtButton(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

namespace {

// "Text files (*.txt)|*.txt" as the Qt dialogs take it: "Text files (*.txt)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << (parts.at(i).contains(QLatin1Char('(')) ? parts.at(i) : parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) + QLatin1Char(')'));
    return out.isEmpty() ? filter : out.join(QStringLiteral(";;"));
}

}  // namespace

QString QtPrompts::saveFileDialog(const QString& presetPath, const QString& filter, int* filterIndex)
{
    const QStringList names = qtFilter(filter).split(QStringLiteral(";;"));
    QFileDialog dialog(QApplication::activeWindow(), QString(), presetPath, names.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets the chosen filter's, and the
    // question before replacing a file is about the file really written.
    auto suffixFor = [&filter](qsizetype index) {
        const QString pattern = filter.section(QLatin1Char('|'), int(2 * index + 1), int(2 * index + 1));
        return pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2) : QString();
    };
    dialog.setDefaultSuffix(suffixFor(0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& chosen) { dialog.setDefaultSuffix(suffixFor(std::max<qsizetype>(0, names.indexOf(chosen)))); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (filterIndex)
        *filterIndex = int(std::max<qsizetype>(0, names.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().first();
}

QString QtPrompts::openFileDialog(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), folder, qtFilter(filter));
}

std::optional<QFont> QtPrompts::askFont(const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

std::optional<QColor> QtPrompts::askColour(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}
