#include "platform.h"

#include "browser.h"
#include "caps_lock.h"
#include "clock.h"
#include "qt_http_client.h"
#include "qt_clipboard.h"
#include "qt_line_printer.h"
#include "qt_printers.h"
#include "qt_prompts.h"
#include "qt_sound.h"
#include "qt_speech.h"
#include "x11_keyboard.h"

void InitProgramResources() { Q_INIT_RESOURCE(resources); }

QtPlatform::QtPlatform()
    : sound_(std::make_unique<QtSound>()), prompts_(std::make_unique<QtPrompts>()),
      clock_(std::make_unique<SystemClock>()), keyboard_(std::make_unique<X11Keyboard>()),
      printers_(std::make_unique<QtPrinters>()), http_(std::make_unique<QtHttpClient>()), printer_(std::make_unique<QtLinePrinter>()),
      clipboard_(std::make_unique<QtClipboard>()), browser_(std::make_unique<DesktopBrowser>()),
      speech_(std::make_unique<QtSpeech>())
{
    capsLock_ = std::make_unique<CapsLock>(*keyboard_);
    prompts_->setCapsLock(capsLock_.get());
    InitProgramResources();
    platform_.sound = sound_.get();
    platform_.prompts = prompts_.get();
    platform_.styleDialogs = prompts_.get();
    platform_.clock = clock_.get();
    platform_.keyboard = keyboard_.get();
    platform_.capsLock = capsLock_.get();
    platform_.printers = printers_.get();
    platform_.http = http_.get();
    platform_.printer = printer_.get();
    platform_.clipboard = clipboard_.get();
    platform_.browser = browser_.get();
    platform_.speech = speech_.get();
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::rememberPrinterIn(PrinterSetting& setting) { printer_->rememberChoiceIn(&setting); }
