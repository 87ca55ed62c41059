#pragma once

#include "platform/Clipboard.h"

#include <string>

/// The application's clipboard (QGuiApplication::clipboard).
class QtClipboard : public Clipboard {
public:
    void setText(const std::string& text) override;
};
