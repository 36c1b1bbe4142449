#include "resources/screen_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
void InitScreenResources() {
    Q_INIT_RESOURCE(screen_pictures);
}
