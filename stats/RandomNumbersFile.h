#pragma once

#include "numeric/DecimalSeparator.h"

#include <cstdint>
#include <fstream>
#include <string>

/// A plain-text file of standard normal deviates prepared by the user, read one number at a
/// time. Numbers are separated by any white space; there is no header and no count. Each
/// token is read whole and converted like a cell text, with the user's decimal separator: a
/// token that does not start with a number gives 0, characters after a leading number are
/// ignored, and neither is reported.
///
/// Only a regular file of at most MAX_BYTES is opened, so that reading always ends: a
/// device such as /dev/zero or a FIFO never runs out, and opening a FIFO would wait for a
/// writer. A token longer than MAX_TOKEN_LENGTH is no number; reading stops there instead of
/// gathering it without bound.
///
/// Nothing rewinds the file: successive runs go on where the previous one stopped, and a
/// file that has run out stays at its end.
class RandomNumbersFile {
public:
    /// 4 GiB, about 200 million numbers of 20 characters.
    static constexpr std::int64_t MAX_BYTES = std::int64_t{1} << 32;
    /// Longer than any number needs ("-1.7976931348623157e+308" has 24 characters).
    static constexpr std::size_t MAX_TOKEN_LENGTH = 64;

    RandomNumbersFile() = default;
    RandomNumbersFile(const RandomNumbersFile&) = delete;
    RandomNumbersFile& operator=(const RandomNumbersFile&) = delete;

    /// Opens path for reading at its start. Returns whether it could be opened; when not,
    /// no file is open afterwards and openError() says why.
    bool open(const std::string& path);
    bool isOpen() const { return stream.is_open(); }
    /// Why the last open failed, as a sentence naming the file; empty after a success.
    const std::string& openError() const { return error; }
    /// The separator that the following reads use; the point until it is set.
    void setDecimalSeparator(DecimalSeparator userSeparator) { separator = userSeparator; }
    /// The next number into value. False, with value unchanged, at the end of the file, at a
    /// token longer than MAX_TOKEN_LENGTH (isTokenTooLong() is then true) and when no file is
    /// open.
    bool next(double& value);
    /// Whether reading stopped at a token longer than MAX_TOKEN_LENGTH.
    bool isTokenTooLong() const { return tooLong; }

private:
    /// The reason a path cannot serve as a random-numbers file, or empty.
    static std::string refusalOf(const std::string& path);

    std::ifstream stream;
    DecimalSeparator separator;
    /// The last token read; kept so that reading does not allocate for every number.
    std::string token;
    std::string error;
    bool tooLong = false;
};
