#include "data/FileAccess.h"

#include <ios>
#include <system_error>

std::filesystem::path toPath(const std::string& utf8Path)
{
    // The u8string form makes the conversion UTF-8 on every platform; a plain std::string
    // would be taken in the system's narrow encoding, which is not UTF-8 everywhere.
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8Path.data()), utf8Path.size()));
}

void openForReading(const std::string& utf8Path, std::ifstream& file)
{
    const std::filesystem::path path = toPath(utf8Path);
    std::error_code error;
    // A directory opens as a stream on some systems and then reads as empty.
    if (std::filesystem::is_directory(path, error))
        return;
    file.open(path, std::ios::in | std::ios::binary);
}

FileReadStatus readWholeFile(const std::string& utf8Path, std::int64_t maxBytes,
                             std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::ifstream file;
    openForReading(utf8Path, file);
    if (!file.is_open())
        return FileReadStatus::CannotOpen;
    // Read in blocks until the end or past the limit rather than trusting the file's
    // reported size, which a pipe or a growing file does not give reliably.
    constexpr std::size_t BLOCK = 1 << 16;
    while (file) {
        const std::size_t start = bytes.size();
        bytes.resize(start + BLOCK);
        file.read(reinterpret_cast<char*>(bytes.data() + start), BLOCK);
        bytes.resize(start + static_cast<std::size_t>(file.gcount()));
        if (static_cast<std::int64_t>(bytes.size()) > maxBytes) {
            bytes.clear();
            return FileReadStatus::TooLarge;
        }
    }
    if (file.bad())
        return FileReadStatus::CannotOpen;
    return FileReadStatus::Ok;
}

std::string temporaryPathFor(const std::string& utf8Path)
{
    return utf8Path + ".saving";
}

bool replaceFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path temporary = toPath(temporaryPathFor(utf8Path));
    std::ofstream file(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    std::error_code error;
    if (file.fail()) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, toPath(utf8Path), error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
