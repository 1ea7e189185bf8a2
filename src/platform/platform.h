#pragma once

#include <memory>

class Sound;
class Prompts;
class Clock;
class Keyboard;
class Printers;
class LinePrinter;
class Clipboard;
class HttpClient;

// The seams to the operating system, built once by main() (or by a test with
// fakes) and handed to the windows.
struct Platform {
    Sound* sound = nullptr;
    Prompts* prompts = nullptr;
    Clock* clock = nullptr;
    Keyboard* keyboard = nullptr;
    Printers* printers = nullptr;
    LinePrinter* printer = nullptr;
    Clipboard* clipboard = nullptr;
    HttpClient* http = nullptr;
};

// Makes the sounds and pictures carried with the program available.
void InitProgramResources();

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
    std::unique_ptr<Keyboard> keyboard_;
    std::unique_ptr<Printers> printers_;
    Platform platform_;
};
