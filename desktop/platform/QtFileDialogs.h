#pragma once

#include "platform/FileDialogs.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

/// The file dialogs of the desktop (QFileDialog), modal to a parent window.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr);

    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override;
    std::vector<std::string> openFiles(const std::string& title,
                                       const std::string& filter) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& defaultExtension,
                                        const std::string& proposedPath) override;

private:
    QPointer<QWidget> parent;
};
