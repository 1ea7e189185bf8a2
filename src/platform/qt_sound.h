#pragma once

#include "sound.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

class QtSound : public QObject, public Sound {
    Q_OBJECT
public:
    explicit QtSound(QObject* parent = nullptr);
    void play(const QString& fileName) override;

private:
    QHash<QString, QSoundEffect*> effects_;
};
