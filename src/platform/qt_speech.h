#pragma once

#include "speech.h"

#include <memory>

class QTextToSpeech;

// Speech through Qt TextToSpeech (speech-dispatcher on Linux), made on first
// use so a run that never speaks never starts the engine.
class QtSpeech : public Speech {
public:
    QtSpeech();
    ~QtSpeech() override;
    void say(const QString& text) override;

private:
    std::unique_ptr<QTextToSpeech> engine_;
};
