#include "desktop/platform/QtSettingsStore.h"

#include <QString>
#include <QVariant>

namespace {

/// Settings keys are paths whose first part is the group.
QString pathOf(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings(QSettings::NativeFormat, QSettings::UserScope, ORGANISATION, APPLICATION)
{
}

int QtSettingsStore::readInt(const std::string& section, const std::string& key,
                             int defaultValue) const
{
    const QVariant value = settings.value(pathOf(section, key));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

std::string QtSettingsStore::readString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const
{
    const QVariant value = settings.value(pathOf(section, key));
    if (!value.isValid())
        return defaultValue;
    return value.toString().toStdString();
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& key, int value)
{
    settings.setValue(pathOf(section, key), value);
    settings.sync();
}

void QtSettingsStore::writeString(const std::string& section, const std::string& key,
                                  const std::string& value)
{
    settings.setValue(pathOf(section, key), QString::fromStdString(value));
    settings.sync();
}

std::string QtSettingsStore::location() const
{
    return settings.fileName().toStdString();
}
