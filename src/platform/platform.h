#pragma once

#include <memory>

class Sound;
class Prompts;
class StyleDialogs;
class Browser;
class Clock;
class Keyboard;
class CapsLock;
class Printers;
class LinePrinter;
class Clipboard;
class HttpClient;
class Speech;

// The seams to the operating system, built once by main() (or by a test with
// fakes) and handed to the windows.
struct Platform {
    Sound* sound = nullptr;
    Prompts* prompts = nullptr;
    Clock* clock = nullptr;
    Keyboard* keyboard = nullptr;
    CapsLock* capsLock = nullptr;  // over the keyboard
    Printers* printers = nullptr;
    LinePrinter* printer = nullptr;
    Clipboard* clipboard = nullptr;
    HttpClient* http = nullptr;
    StyleDialogs* styleDialogs = nullptr;
    Browser* browser = nullptr;
    Speech* speech = nullptr;
};

// Makes the sounds and pictures carried with the program available.
void InitProgramResources();

class QtPrompts;
class QtHttpClient;
class QtLinePrinter;
class QtClipboard;
class PrinterSetting;

// The real services; owns them.
class QtPlatform {
public:
    QtPlatform();
    ~QtPlatform();
    Platform& platform() { return platform_; }
    // The printer chosen in an earlier run, and where a new choice is kept.
    void rememberPrinterIn(PrinterSetting& setting);

private:
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<QtPrompts> prompts_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Keyboard> keyboard_;
    std::unique_ptr<CapsLock> capsLock_;
    std::unique_ptr<Printers> printers_;
    std::unique_ptr<QtHttpClient> http_;
    std::unique_ptr<QtLinePrinter> printer_;
    std::unique_ptr<QtClipboard> clipboard_;
    std::unique_ptr<Browser> browser_;
    std::unique_ptr<Speech> speech_;
    Platform platform_;
};
