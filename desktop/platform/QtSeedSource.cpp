#include "desktop/platform/QtSeedSource.h"

#include <QRandomGenerator>

std::uint32_t QtSeedSource::nextSeed()
{
    return QRandomGenerator::system()->generate();
}
