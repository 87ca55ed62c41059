#pragma once

#include "numeric/DecimalSeparator.h"

class QLocale;

/// The decimal separator of a locale, as the tables tell it apart: ',' or '.'.
DecimalSeparator decimalSeparatorOf(const QLocale& locale);

/// The user's decimal separator, from the system locale (the regional settings; on Linux
/// LC_ALL, LC_NUMERIC or LANG).
DecimalSeparator userDecimalSeparator();
