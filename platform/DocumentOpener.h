#pragma once

#include <string>

/// Opens a document with the desktop's default viewer for its type (the user manual).
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    /// False when the desktop could not start a viewer for the file.
    virtual bool open(const std::string& path) = 0;
};
