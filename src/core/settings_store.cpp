#include "settings_store.h"
#include "settings_sections.h"

#include "safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <charconv>
#include <utility>
#include <cmath>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// QSettings treats '/' and '\' as group separators; names of this program
// never hold them, and a stray one must not open a hidden sub-group.
QString plain(const QString& name)
{
    QString s = name;
    s.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return s;
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// A section or key name: letters, digits, "_", "-" and "." as they are, every
// other character as %XX or %UXXXX.
QByteArray iniName(const QString& name)
{
    QByteArray out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-'
            || u == '.')
            out += char(u);
        else if (u <= 0xFF)
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out += "%U" + QByteArray::number(u, 16).rightJustified(4, '0').toUpper();
    }
    return out;
}

// A value in quotes; a value starting with "@" gets a second one, as QSettings
// reads "@..." as a typed value. Control characters go as \xHH, and a hex
// digit right after one as well, since the reader takes all the digits.
QByteArray iniValue(const QString& value)
{
    QByteArray out = "\"";
    if (value.startsWith(QLatin1Char('@')))
        out += '@';
    bool afterHex = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const char16_t u = c.unicode();
        const bool escape = u < 0x20 || u == 0x7F || (afterHex && isHexDigit(c));
        afterHex = false;
        if (escape) {
            out += "\\x" + QByteArray::number(u, 16);
            afterHex = true;
        } else if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u < 0x80) {
            out += char(u);
        } else if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            out += QStringView(value).mid(i, 2).toUtf8();
            ++i;
        } else {
            out += QStringView(&c, 1).toUtf8();
        }
    }
    out += '"';
    return out;
}

// QSettings reads "@Variant(...)" and "@DateTime(...)" as binary data whose
// lengths it trusts, so a damaged file could ask for gigabytes. This store
// never writes them (it doubles a leading "@"), so each one found at the
// start of a value or of a list element gets its "@" doubled too and reads
// as the text it shows.
QByteArray withoutTypedValues(QByteArray bytes)
{
    const auto typedAt = [&bytes](qsizetype i) {
        return bytes.mid(i, 9) == "@Variant(" || bytes.mid(i, 10) == "@DateTime(";
    };
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', i);
        if (end < 0)
            end = bytes.size();
        qsizetype at = bytes.indexOf('=', i);
        if (at < 0 || at > end || bytes.at(i) == '[' || bytes.at(i) == ';') {
            i = end + 1;
            continue;
        }
        bool quoted = false;
        bool elementStart = true;
        for (++at; at < end; ++at) {
            const char c = bytes.at(at);
            // A blank inside quotes is text: " @Variant(" is no typed value.
            if (elementStart && !quoted && (c == ' ' || c == '\t'))
                continue;
            if (elementStart && c == '"' && !quoted) {
                quoted = true;
                continue;
            }
            if (elementStart && typedAt(at)) {
                bytes.insert(at, '@');
                ++at;
                ++end;
            }
            elementStart = false;
            if (c == '\\')
                ++at;  // an escape: the next character is text
            else if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted)
                elementStart = true;
        }
        i = end + 1;
    }
    return bytes;
}

// Why the file's text is not one this store (or a careful hand) wrote: NUL
// bytes, no UTF-8, or a line that is neither a section, a key with its value,
// a comment nor blank. Empty when it reads whole.
QString damageOf(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return QStringLiteral("it holds NUL bytes");
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(bytes));
    if (utf8.hasError())
        return QStringLiteral("it is not UTF-8 text");
    qsizetype lineNo = 0;
    for (const QByteArray& raw : bytes.split('\n')) {
        ++lineNo;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#') || line.contains('='))
            continue;
        if (line.startsWith('[') && line.endsWith(']'))
            continue;
        return QStringLiteral("line %1 is neither a section nor a setting").arg(lineNo);
    }
    return {};
}

QList<SettingsSection> readIni(const QString& path, const QByteArray& bytes)
{
    QList<SettingsSection> sections;
    std::optional<QTemporaryDir> scratch;  // only for a file that needs the copy
    QString readPath = path;
    if (bytes.contains("@Variant(") || bytes.contains("@DateTime(")) {
        const QByteArray safe = withoutTypedValues(bytes);
        scratch.emplace();
        QFile copy(scratch->filePath(QStringLiteral("settings.ini")));
        if (safe != bytes && scratch->isValid() && copy.open(QIODevice::WriteOnly) && copy.write(safe) == safe.size()) {
            copy.close();
            readPath = copy.fileName();
        }
    }
    QSettings ini(readPath, QSettings::IniFormat);
    auto take = [&ini](const QString& name) {
        SettingsSection section{name, {}};
        for (const QString& key : ini.childKeys()) {
            if (key.isEmpty())
                continue;  // "=value": no key this store can ask for
            const QVariant v = ini.value(key);
            // A hand-written value with bare commas reads as a list.
            const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                                      : v.toString();
            section.values.append({key, text});
        }
        return section;
    };
    if (!ini.childKeys().isEmpty())
        sections.append(take(QString()));
    for (const QString& group : ini.childGroups()) {
        ini.beginGroup(group);
        sections.append(take(group));
        ini.endGroup();
    }
    return sections;
}

}  // namespace

QByteArray ComposeSettingsIni(const QList<SettingsSection>& sections)
{
    QByteArray out;
    for (const SettingsSection& section : sections) {
        if (section.values.isEmpty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        // "[General]" holds the keys outside any section; a section of that
        // name is marked with "%".
        if (section.name.isEmpty())
            out += "[General]\n";
        else if (section.name.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
            out += "[%" + section.name.toLatin1() + "]\n";
        else
            out += '[' + iniName(section.name) + "]\n";
        for (const auto& [key, value] : section.values)
            out += iniName(key) + '=' + iniValue(value) + '\n';
    }
    return out;
}

SettingsStore::SettingsStore(const QString& iniPath) : path_(iniPath)
{
    if (iniPath.isEmpty())
        return;
    MakeFolder(QFileInfo(iniPath).absolutePath());
    QFile file(iniPath);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(iniPath, kOwnerOnly);
    // Sized before it is read: a huge file is never taken into memory.
    const qint64 size = QFileInfo(iniPath).size();
    QString damage;
    QByteArray bytes;
    if (size > kMaxFileBytes) {
        damage = QStringLiteral("it holds %1 bytes, more than settings ever take (%2)").arg(size).arg(kMaxFileBytes);
    } else if (file.open(QIODevice::ReadOnly)) {
        bytes = file.read(kMaxFileBytes + 1);
        file.close();
        damage = damageOf(bytes);
    }
    if (!damage.isEmpty()) {
        // Kept aside before anything replaces it; what could be read goes on.
        if (damage.startsWith(QLatin1String("line")))
            sections_ = readIni(iniPath, bytes);
        keepAside(damage);
        return;
    }
    sections_ = readIni(iniPath, bytes);
}

void SettingsStore::keepAside(const QString& damage)
{
    QString aside = path_ + QStringLiteral(".damaged");
    if (QFileInfo::exists(aside))
        aside += QDateTime::currentDateTimeUtc().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
    if (!QFile::rename(path_, aside)) {
        notice_ = QStringLiteral("The settings file %1 is damaged (%2) and could not be kept aside; it will be "
                                 "replaced by the settings of this run.")
                      .arg(QDir::toNativeSeparators(path_), damage);
        return;
    }
    notice_ = QStringLiteral("The settings file %1 was damaged (%2). It is kept as %3; the settings start from what "
                             "could be read of it.")
                  .arg(QDir::toNativeSeparators(path_), damage, QDir::toNativeSeparators(aside));
    persist(sections_);
}

SettingsStore::~SettingsStore() = default;

const SettingsSection* SettingsStore::findSection(const QString& section) const
{
    const QString name = plain(section);
    for (const SettingsSection& s : sections_)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

SettingsSection* SettingsStore::findSection(const QString& section)
{
    return const_cast<SettingsSection*>(std::as_const(*this).findSection(section));
}

QString SettingsStore::GetSetting(const QString& section, const QString& key, const QString& defaultValue) const
{
    if (const SettingsSection* s = findSection(section)) {
        const QString name = plain(key);
        for (const auto& [k, value] : s->values)
            if (k.compare(name, Qt::CaseInsensitive) == 0)
                return value;
    }
    return defaultValue;
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value)
{
    const QList<SettingsSection> before = sections_;
    SettingsSection* s = findSection(section);
    if (!s) {
        sections_.append({plain(section), {}});
        s = &sections_.last();
    }
    const QString name = plain(key);
    bool found = false;
    for (auto& [k, v] : s->values) {
        if (k.compare(name, Qt::CaseInsensitive) == 0) {
            // Only a change is written: exit stores every look setting.
            if (v == value)
                return;
            v = value;
            found = true;
            break;
        }
    }
    if (!found)
        s->values.append({name, value});
    persist(before);
}

void SettingsStore::DeleteSetting(const QString& section, const QString& key)
{
    SettingsSection* s = findSection(section);
    if (!s)
        return;
    const QList<SettingsSection> before = sections_;
    const QString name = plain(key);
    const qsizetype removed = s->values.removeIf([&name](const QPair<QString, QString>& kv) {
        return kv.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (removed == 0)
        return;
    if (s->values.isEmpty())
        sections_.removeIf([](const SettingsSection& x) { return x.values.isEmpty(); });
    persist(before);
}

bool SettingsStore::persist(const QList<SettingsSection>& before)
{
    if (path_.isEmpty())
        return true;
    // Written at once, so a crash later in the run loses nothing.
    QString error;
    lastWriteOk_ = SafeWrite(path_, ComposeSettingsIni(sections_), &error);
    QFile::setPermissions(path_, kOwnerOnly);
    if (lastWriteOk_) {
        lastError_.clear();
        return true;
    }
    // The file kept what it held; so does the store.
    sections_ = before;
    lastError_ = QStringLiteral("The settings could not be stored: ") + error;
    return false;
}

namespace SettingValue {

std::optional<bool> toBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return v != 0.0;
    return std::nullopt;
}

QString fromBool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

std::optional<int> toInt(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && c == QLatin1Char('-')))
            return std::nullopt;
    }
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

namespace {
quint32 swapRedBlue(quint32 v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }
}  // namespace

std::optional<quint32> toColour(const QString& text)
{
    const auto v = toInt(text);
    if (!v || *v < 0 || *v > 0xFFFFFF)
        return std::nullopt;
    return swapRedBlue(quint32(*v));
}

QString fromColour(quint32 rgb) { return QString::number(swapRedBlue(rgb & 0xFFFFFF)); }

std::optional<float> toSize(const QString& text)
{
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString fromSize(float size)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, size);
    return QString::fromLatin1(buf, res.ptr - buf);
}

}  // namespace SettingValue

void CleanUpEarlierReleaseKeys(SettingsStore& store)
{
    const QString& section = SettingsSections::kSettings;
    if (!store.GetSetting(section, QStringLiteral("Top")).isEmpty()) {
        for (const char* key : {"Top", "Height", "Left", "Width"})
            store.DeleteSetting(section, QLatin1String(key));
    }
    if (!store.GetSetting(section, QStringLiteral("AutoInsertChecked")).isEmpty()) {
        for (const char* key : {"AutoInsertChecked", "AutoInsertEnabled", "DisableDing", "DisableWindowFlash"})
            store.DeleteSetting(section, QLatin1String(key));
    }
}
