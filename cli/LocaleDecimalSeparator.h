#pragma once

#include "numeric/DecimalSeparator.h"

#include <string>

// The user's decimal separator as the environment's locale settings give it. Nothing here
// switches the process's locale: a locale object is made for the name alone and asked for
// its radix character, so no other code of the process is affected.

/// The locale name that decides number formatting: LC_ALL, else LC_NUMERIC, else LANG,
/// the first that is set and not empty (the order of POSIX); "C" when none is.
std::string numericLocaleName();

/// The decimal separator of the named locale; the point when the system has no such
/// locale, as for a program whose setlocale fails and stays in the "C" locale.
DecimalSeparator localeDecimalSeparator(const std::string& localeName);
