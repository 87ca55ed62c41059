#include "data/FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <ios>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The kernel follows at most 40 symbolic links in one lookup; a longer chain is a loop.
constexpr int MAX_LINKS_FOLLOWED = 40;

/// The errors of this file that the operating system has no code for.
class FileAccessCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "tamsel.file"; }
    std::string message(int) const override { return "not a regular file"; }
};

/// The reason of the system call that failed last. A failing call that set no errno (the
/// standard streams do not promise one) reads as an input/output error.
std::error_code lastSystemError()
{
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

/// Closes the descriptor when it goes out of scope, unless close() took it first.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int get() const { return fd; }
    bool isOpen() const { return fd >= 0; }
    /// Closes now; a failing close (a delayed write error on some file systems) is reported.
    std::error_code close()
    {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0 ? std::error_code() : lastSystemError();
    }

private:
    int fd;
};

std::error_code writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return lastSystemError();
        written += static_cast<std::size_t>(count);
    }
    return {};
}

/// Writes bytes into the open file from its start, cuts it to their length and flushes it
/// to the disk.
std::error_code rewriteOpenFile(Descriptor& file, std::span<const std::uint8_t> bytes)
{
    if (const std::error_code error = writeAll(file.get(), bytes))
        return error;
    if (::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0)
        return lastSystemError();
    if (::fsync(file.get()) != 0)
        return lastSystemError();
    return file.close();
}

/// The path a chain of symbolic links ends at; a relative link is taken from its own folder.
/// The end need not exist: saving through a dangling link creates the file it names.
std::filesystem::path followLinks(std::filesystem::path path, std::error_code& error)
{
    for (int followed = 0; followed <= MAX_LINKS_FOLLOWED; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                error = lastSystemError();
            return path;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        const std::filesystem::path link = std::filesystem::read_symlink(path, error);
        if (error)
            return path;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

/// Flushes the folder's entries, so that a rename in it survives a crash.
std::error_code syncFolder(const std::filesystem::path& file)
{
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.isOpen())
        return lastSystemError();
    if (::fsync(directory.get()) != 0)
        return lastSystemError();
    return directory.close();
}

/// Writes bytes to a new file at temporary, with mode's permission bits when given (else
/// those a new file gets), and flushes it to the disk. A file left there by an interrupted
/// save is replaced; O_EXCL and O_NOFOLLOW keep a link planted at that name from
/// redirecting the write.
std::error_code writeTemporary(const std::filesystem::path& temporary, std::optional<mode_t> mode,
                               std::span<const std::uint8_t> bytes)
{
    if (::unlink(temporary.c_str()) != 0 && errno != ENOENT)
        return lastSystemError();
    Descriptor file(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.isOpen())
        return lastSystemError();
    // fchmod and not the mode of open, which the process's umask would narrow.
    if (mode && ::fchmod(file.get(), *mode & 07777) != 0) {
        const std::error_code error = lastSystemError();
        ::unlink(temporary.c_str());
        return error;
    }
    if (const std::error_code error = rewriteOpenFile(file, bytes)) {
        ::unlink(temporary.c_str());
        return error;
    }
    return {};
}

/// A file with several names cannot be renamed over without parting them; it is
/// rewritten through one of them. The complete copy at temporary stays should that fail.
std::error_code rewriteInPlace(const std::filesystem::path& target,
                               const std::filesystem::path& temporary,
                               std::span<const std::uint8_t> bytes)
{
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!file.isOpen())
        return lastSystemError();
    if (const std::error_code error = rewriteOpenFile(file, bytes))
        return error;
    ::unlink(temporary.c_str());
    return {};
}

} // namespace

std::error_code notRegularFileError()
{
    static const FileAccessCategory category;
    return {1, category};
}

std::filesystem::path toPath(const std::string& utf8Path)
{
    // The u8string form makes the conversion UTF-8 on every platform; a plain std::string
    // would be taken in the system's narrow encoding, which is not UTF-8 everywhere.
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8Path.data()), utf8Path.size()));
}

std::error_code openForReading(const std::string& utf8Path, std::ifstream& file)
{
    const std::filesystem::path path = toPath(utf8Path);
    std::error_code error;
    // A directory opens as a stream on some systems and then reads as empty.
    if (std::filesystem::is_directory(path, error))
        return std::make_error_code(std::errc::is_a_directory);
    errno = 0;
    file.open(path, std::ios::in | std::ios::binary);
    if (!file.is_open())
        return lastSystemError();
    return {};
}

FileReadStatus readWholeFile(const std::string& utf8Path, std::int64_t maxBytes,
                             std::vector<std::uint8_t>& bytes, std::error_code& error)
{
    bytes.clear();
    std::ifstream file;
    error = openForReading(utf8Path, file);
    if (error)
        return FileReadStatus::CannotOpen;
    // Read in blocks until the end or past the limit rather than trusting the file's
    // reported size, which a pipe or a growing file does not give reliably.
    constexpr std::size_t BLOCK = 1 << 16;
    errno = 0;
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
    if (file.bad()) {
        error = lastSystemError();
        return FileReadStatus::CannotOpen;
    }
    return FileReadStatus::Ok;
}

std::filesystem::path temporaryPathFor(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".saving";
    return temporary;
}

std::error_code replaceFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes)
{
    std::error_code error;
    const std::filesystem::path target = followLinks(toPath(utf8Path), error);
    if (error)
        return error;
    const std::filesystem::path temporary = temporaryPathFor(target);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return lastSystemError();
    if (exists && !S_ISREG(existing.st_mode))
        return notRegularFileError();
    const std::optional<mode_t> mode =
        exists ? std::optional<mode_t>(existing.st_mode) : std::nullopt;
    error = writeTemporary(temporary, mode, bytes);
    if (error)
        return error;
    if (exists && existing.st_nlink > 1)
        return rewriteInPlace(target, temporary, bytes);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = lastSystemError();
        ::unlink(temporary.c_str());
        return error;
    }
    return syncFolder(target);
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& utf8Path,
                                                       std::int64_t maxBytes,
                                                       const std::string& done,
                                                       MessageSink& messages)
{
    std::vector<std::uint8_t> bytes;
    std::error_code error;
    switch (readWholeFile(utf8Path, maxBytes, bytes, error)) {
    case FileReadStatus::Ok: return bytes;
    case FileReadStatus::CannotOpen:
        messages.showMessage("Error",
                             "The file " + utf8Path + " cannot be opened: " + error.message() + ".",
                             MessageIcon::Error);
        return std::nullopt;
    case FileReadStatus::TooLarge:
        messages.showMessage("Error", "The file " + utf8Path + " is too large to be " + done + ".",
                             MessageIcon::Error);
        return std::nullopt;
    }
    return std::nullopt;
}
