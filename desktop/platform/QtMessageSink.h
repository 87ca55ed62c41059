#pragma once

#include "platform/MessageSink.h"

#include <QPointer>
#include <QWidget>

#include <string>

/// Shows each message in a modal message box with an OK button: the error icon as
/// critical, the exclamation as a warning, the information icon as information.
class QtMessageSink : public MessageSink {
public:
    /// The boxes are modal to parent (the application's active window without one).
    explicit QtMessageSink(QWidget* parent = nullptr);

    void showMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    /// A modal question box with "Yes" and "No"; closing it answers "No".
    bool askYesNo(const std::string& title, const std::string& question) override;

private:
    QPointer<QWidget> parent;
};
