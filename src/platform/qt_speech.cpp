#include "qt_speech.h"

#include <QTextToSpeech>

QtSpeech::QtSpeech() = default;
QtSpeech::~QtSpeech() = default;

void QtSpeech::say(const QString& text)
{
    if (!engine_)
        engine_ = std::make_unique<QTextToSpeech>();
    if (engine_->state() == QTextToSpeech::Error)
        return;
    // The newest status is the one that matters: an older one is cut short.
    engine_->stop();
    engine_->say(text);
}
