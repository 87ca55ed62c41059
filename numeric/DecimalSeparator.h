#pragma once

/// The user's decimal separator, as the platform reports it, for reading and writing cell
/// texts. The tables tell only the comma and the point apart: any other separator (a
/// blank, for example) is taken as the point, so that the decimal-separator check of the
/// data table, the reading of cells and the writing of numbers always agree.
class DecimalSeparator {
public:
    /// The point.
    constexpr DecimalSeparator() = default;
    constexpr explicit DecimalSeparator(char userSeparator)
        : symbol(userSeparator == ',' ? ',' : '.')
    {
    }

    /// ',' or '.'.
    constexpr char get() const { return symbol; }
    constexpr bool isComma() const { return symbol == ','; }

private:
    char symbol = '.';
};
