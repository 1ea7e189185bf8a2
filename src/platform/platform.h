#pragma once

#include <memory>

class Sound;
class Prompts;
class Clock;

// The seams to the operating system, built once by main() (or by a test with
// fakes) and handed to the windows.
struct Platform {
    Sound* sound = nullptr;
    Prompts* prompts = nullptr;
    Clock* clock = nullptr;
};

// The real services; owns them.
class QtPlatform {
public:
    QtPlatform();
    ~QtPlatform();
    Platform& platform() { return platform_; }

private:
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<Clock> clock_;
    Platform platform_;
};
