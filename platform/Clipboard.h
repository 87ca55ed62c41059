#pragma once

#include <string>

/// The desktop's clipboard, written by the windows that copy a result as text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    /// Replaces the clipboard's contents by text.
    virtual void setText(const std::string& text) = 0;
};
