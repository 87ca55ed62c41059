#pragma once

#include "platform/DocumentOpener.h"

#include <string>

/// Opens a local file with the desktop's default application (QDesktopServices).
class QtDocumentOpener : public DocumentOpener {
public:
    bool open(const std::string& path) override;
};
