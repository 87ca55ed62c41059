#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

/// A fresh directory for one test, removed with everything in it at the end. The name
/// carries the process id and a counter, so tests running in parallel never meet.
class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        static std::atomic<int> counter{0};
        folder = std::filesystem::temp_directory_path() /
                 ("tamsel-files-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(folder);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    /// The path of a file named name in the directory.
    std::string path(const std::string& name) const { return (folder / name).string(); }

    /// Writes bytes to the file name and returns its path.
    std::string write(const std::string& name, std::string_view bytes) const
    {
        std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        return write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                            bytes.size()));
    }

private:
    std::filesystem::path folder;
};

/// The whole content of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
