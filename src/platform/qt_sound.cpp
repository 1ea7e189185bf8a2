#include "qt_sound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSound::QtSound(QObject* parent) : QObject(parent) {}

void QtSound::play(const QString& fileName)
{
    QSoundEffect* effect = effects_.value(fileName);
    if (!effect) {
        const bool resource = fileName.startsWith(QLatin1Char(':'));
        if (!resource && !QFileInfo::exists(fileName))
            return;  // a missing file is simply not played
        effect = new QSoundEffect(this);
        effect->setSource(resource ? QUrl(QStringLiteral("qrc") + fileName) : QUrl::fromLocalFile(fileName));
        effects_.insert(fileName, effect);
    }
    effect->play();
}
