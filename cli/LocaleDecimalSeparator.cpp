#include "cli/LocaleDecimalSeparator.h"

#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

std::string numericLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0')
            return value;
    }
    return "C";
}

DecimalSeparator localeDecimalSeparator(const std::string& localeName)
{
    locale_t numeric = newlocale(LC_NUMERIC_MASK, localeName.c_str(), static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0))
        return DecimalSeparator();
    // A multi-byte radix character (a few locales have one) is neither ',' nor '.'; its
    // first byte makes DecimalSeparator take the point, as the tables do for any other
    // separator.
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    const DecimalSeparator separator(radix != nullptr && radix[0] != '\0' ? radix[0] : '.');
    freelocale(numeric);
    return separator;
}
