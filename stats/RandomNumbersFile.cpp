#include "stats/RandomNumbersFile.h"

#include "numeric/NumberText.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

bool isSpace(int c)
{
    // The classic white space, whatever locale the process runs under; the decimal
    // separator is the user's and is applied by parseNumber.
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

std::string RandomNumbersFile::refusalOf(const std::string& path)
{
    const std::string name = "The random-numbers file " + path;
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    if (code)
        return name + " cannot be opened: " + code.message() + ".";
    if (std::filesystem::is_directory(status))
        return name + " cannot be opened: " + std::strerror(EISDIR) + ".";
    if (!std::filesystem::is_regular_file(status))
        return name + " is not a regular file; only a file can run out of numbers.";
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code)
        return name + " cannot be opened: " + code.message() + ".";
    if (size > static_cast<std::uintmax_t>(MAX_BYTES))
        return name + " is larger than 4 GiB, the limit for a random-numbers file.";
    return {};
}

bool RandomNumbersFile::open(const std::string& path)
{
    if (stream.is_open()) {
        stream.close();
    }
    stream.clear();
    tooLong = false;
    error = refusalOf(path);
    if (!error.empty()) {
        return false;
    }
    errno = 0;
    stream.open(path, std::ios::binary);
    if (!stream.is_open()) {
        error = "The random-numbers file " + path +
                " cannot be opened: " + std::strerror(errno != 0 ? errno : EACCES) + ".";
        return false;
    }
    return true;
}

bool RandomNumbersFile::next(double& value)
{
    if (!stream.is_open() || tooLong) {
        return false;
    }
    std::streambuf& buffer = *stream.rdbuf();
    int c = buffer.sgetc();
    while (c != std::char_traits<char>::eof() && isSpace(c)) {
        c = buffer.snextc();
    }
    token.clear();
    while (c != std::char_traits<char>::eof() && !isSpace(c)) {
        if (token.size() == MAX_TOKEN_LENGTH) {
            tooLong = true;
            return false;
        }
        token.push_back(static_cast<char>(c));
        c = buffer.snextc();
    }
    if (token.empty()) {
        return false;
    }
    value = parseNumber(token, separator);
    return true;
}
