#include "platform.h"

#include "qt_prompts.h"
#include "qt_sound.h"

static void initResources() { Q_INIT_RESOURCE(resources); }

QtPlatform::QtPlatform() : sound_(std::make_unique<QtSound>()), prompts_(std::make_unique<QtPrompts>())
{
    initResources();
    platform_.sound = sound_.get();
    platform_.prompts = prompts_.get();
}

QtPlatform::~QtPlatform() = default;
