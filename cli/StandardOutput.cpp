#include "cli/StandardOutput.h"

#include <cerrno>
#include <iostream>
#include <system_error>

bool writeStandardOutput(const std::string& text, MessageSink& messages)
{
    // std::cout writes through the C stream stdout, whose failing write sets errno.
    errno = 0;
    std::cout << text;
    std::cout.flush();
    if (std::cout)
        return true;
    const std::error_code reason(errno != 0 ? errno : EIO, std::generic_category());
    messages.showMessage(
        "Error", "The results cannot be written to standard output: " + reason.message() + ".",
        MessageIcon::Error);
    return false;
}
