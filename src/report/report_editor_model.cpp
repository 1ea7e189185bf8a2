#include "report_editor_model.h"

#include "core/settings_store.h"
#include "core/text_number.h"

namespace {

// The figure a box shows: the stored text's leading number.
QString figureText(const QString& stored)
{
    const double v = LeadingNumber(stored);
    return QString::number(v == 0.0 ? 0.0 : v, 'g', 15);
}

}  // namespace

ReportEditorModel::ReportEditorModel(SettingsStore& store, NetReport& report) : store_(store), report_(report) {}

void ReportEditorModel::load()
{
    const QString zero = QStringLiteral("0");
    sessions_ = figureText(store_.GetSetting(ReportKeys::kReport, ReportKeys::kSessions, zero));
    checkins_ = figureText(store_.GetSetting(ReportKeys::kReport, ReportKeys::kCheckins, zero));
    traffic_ = figureText(store_.GetSetting(ReportKeys::kReport, ReportKeys::kTraffic, zero));
    saveEnabled_ = false;
    lines_ = ReadNewMemberList(store_, false);
    selected_ = -1;
}

void ReportEditorModel::setSessionsText(const QString& text)
{
    if (text == sessions_)
        return;
    sessions_ = text;
    saveEnabled_ = true;
}

void ReportEditorModel::setCheckinsText(const QString& text)
{
    if (text == checkins_)
        return;
    checkins_ = text;
    saveEnabled_ = true;
}

void ReportEditorModel::setTrafficText(const QString& text)
{
    if (text == traffic_)
        return;
    traffic_ = text;
    saveEnabled_ = true;
}

void ReportEditorModel::setAddText(const QString& text) { changeAddText(text); }

// The entry box's change event also runs when an action sets its text.
void ReportEditorModel::changeAddText(const QString& text)
{
    if (text == addText_)
        return;
    addText_ = text;
    saveEnabled_ = true;
    if (editMode_)
        moveVisible_ = true;
    else
        addEnabled_ = true;
}

void ReportEditorModel::selectLine(int index)
{
    selected_ = index >= 0 && index < lines_.size() ? index : -1;
    if (selected_ >= 0)
        deleteEnabled_ = true;
    saveEnabled_ = true;
    editEnabled_ = true;
}

void ReportEditorModel::add()
{
    // A blank line would go into the report as a new member.
    if (!addEnabled_ || addText_.trimmed().isEmpty())
        return;
    lines_.append(QLatin1Char(' ') + addText_);
    saveEnabled_ = true;
    changeAddText(QString());
}

void ReportEditorModel::edit()
{
    if (!editEnabled_ || selected_ < 0)
        return;
    editMode_ = true;
    entryTitle_ = ReportEditorText::kEditMember;
    changeAddText(lines_.at(selected_));
}

void ReportEditorModel::move()
{
    if (!moveVisible_ || selected_ < 0)
        return;
    lines_[selected_] = addText_;
    entryTitle_ = ReportEditorText::kAddMember;
    changeAddText(QString());
    moveVisible_ = false;
    editEnabled_ = false;
    addEnabled_ = false;
    editMode_ = false;
}

bool ReportEditorModel::deleteLine()
{
    if (!deleteEnabled_)
        return false;
    saveEnabled_ = false;
    if (selected_ < 0)
        return false;
    if (DeleteNewMemberEntry(store_, lines_.at(selected_)) < 0)
        return false;
    lines_.removeAt(selected_);
    selected_ = -1;
    return true;
}

ReportWriteOutcome ReportEditorModel::save()
{
    if (!saveEnabled_)
        return {false, {}};
    const ReportWriteOutcome outcome = SaveEditedReport(store_, sessions_, checkins_, traffic_, lines_, selected_);
    if (outcome.stored) {
        // Otherwise the exit's addition would start from the old totals and
        // overwrite the correction.
        report_ = LoadReportCounters(store_);
        saveEnabled_ = false;
        addEnabled_ = false;
        deleteEnabled_ = false;
    }
    return outcome;
}

void ReportEditorModel::exit()
{
    saveEnabled_ = false;
    editEnabled_ = false;
    addEnabled_ = false;
    deleteEnabled_ = false;
}
