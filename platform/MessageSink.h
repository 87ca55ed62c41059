#pragma once

#include <string>

/// The icon of a message box.
enum class MessageIcon { Error, Exclamation, Information };

/// Where the core hands the messages a user must see, and the questions the user answers:
/// a modal message box on the desktop, standard error in the command-line front end, a
/// recording in tests. The core never
/// shows a message itself.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& title, const std::string& text,
                             MessageIcon icon) = 0;
    /// Asks a question with the buttons "Yes" and "No"; true for "Yes".
    virtual bool askYesNo(const std::string& title, const std::string& question) = 0;
};
