#include "callbook.h"

QString CallbookNameText(const CallsignInfo& info)
{
    const qsizetype blank = info.firstName.indexOf(QLatin1Char(' '));
    return (blank >= 0 ? info.firstName.left(blank) : info.firstName).toUpper();
}

QString CallbookCityStateText(const CallsignInfo& info, const QString& kept)
{
    QString text = info.city.isEmpty() ? kept : info.city.toUpper();
    const QString two = info.state.left(2);
    if (!two.isEmpty() && two != QLatin1String("MS"))
        text += QLatin1Char(' ') + two;
    return text;
}

QString CallbookAnsweredText(const QString& call, const CallbookResult& result)
{
    if (!result.found())
        return {};
    return call + QStringLiteral(" FROM ") + result.source;
}
