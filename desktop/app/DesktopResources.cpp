#include "desktop/app/DesktopResources.h"

#include <QtGlobal>

// Outside any namespace, as the registration macro requires.
void initDesktopResources()
{
    Q_INIT_RESOURCE(tamsel);
}
