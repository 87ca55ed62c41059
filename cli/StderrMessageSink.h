#pragma once

#include "platform/MessageSink.h"

/// The command-line front end's message box: each message goes to standard error as one
/// "Title: text" line, the title telling an error ("Error: ...") from a notice.
class StderrMessageSink : public MessageSink {
public:
    /// A sink that does not speak writes nothing: a process of a run spread over several
    /// leaves its messages to process 0, which shows the run's.
    explicit StderrMessageSink(bool speaks = true) : writes(speaks) {}

    void showMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    /// The command line's options answer beforehand (--drop-incomplete), so nothing is
    /// written and the answer is "No": everything stays as it is.
    bool askYesNo(const std::string& title, const std::string& question) override;

private:
    bool writes;
};
