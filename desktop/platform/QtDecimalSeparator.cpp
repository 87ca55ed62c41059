#include "desktop/platform/QtDecimalSeparator.h"

#include <QLocale>
#include <QString>

DecimalSeparator decimalSeparatorOf(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    // A separator outside ASCII (the Arabic one, for example) is neither a comma nor a
    // point; DecimalSeparator takes it as the point.
    if (point.size() != 1 || point.at(0).unicode() > 0x7f)
        return DecimalSeparator('.');
    return DecimalSeparator(point.at(0).toLatin1());
}

DecimalSeparator userDecimalSeparator()
{
    return decimalSeparatorOf(QLocale::system());
}
