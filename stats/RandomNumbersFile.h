#pragma once

#include "numeric/DecimalSeparator.h"

#include <fstream>
#include <string>

/// A plain-text file of standard normal deviates prepared by the user, read one number at a
/// time. Numbers are separated by any white space; there is no header and no count. Each
/// token is read whole and converted like a cell text, with the user's decimal separator: a
/// token that does not start with a number gives 0, characters after a leading number are
/// ignored, and neither is reported.
///
/// Nothing rewinds the file: successive runs go on where the previous one stopped, and a
/// file that has run out stays at its end.
class RandomNumbersFile {
public:
    RandomNumbersFile() = default;
    RandomNumbersFile(const RandomNumbersFile&) = delete;
    RandomNumbersFile& operator=(const RandomNumbersFile&) = delete;

    /// Opens path for reading at its start. Returns whether it could be opened; when not,
    /// no file is open afterwards.
    bool open(const std::string& path);
    bool isOpen() const { return stream.is_open(); }
    /// The separator that the following reads use; the point until it is set.
    void setDecimalSeparator(DecimalSeparator userSeparator) { separator = userSeparator; }
    /// The next number into value. False, with value unchanged, at the end of the file and
    /// when no file is open.
    bool next(double& value);

private:
    std::ifstream stream;
    DecimalSeparator separator;
    /// The last token read; kept so that reading does not allocate for every number.
    std::string token;
};
