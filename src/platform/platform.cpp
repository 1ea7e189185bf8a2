#include "platform.h"

#include "clock.h"
#include "qt_prompts.h"
#include "qt_sound.h"

static void initResources() { Q_INIT_RESOURCE(resources); }

QtPlatform::QtPlatform()
    : sound_(std::make_unique<QtSound>()), prompts_(std::make_unique<QtPrompts>()),
      clock_(std::make_unique<SystemClock>())
{
    initResources();
    platform_.sound = sound_.get();
    platform_.prompts = prompts_.get();
    platform_.clock = clock_.get();
}

QtPlatform::~QtPlatform() = default;
