#pragma once

#include "platform/MessageSink.h"

#include <string>
#include <vector>

/// Keeps every message the tables hand over, in order; questions are kept apart and
/// answered with `answer`.
class RecordingMessageSink : public MessageSink {
public:
    struct Message {
        std::string title;
        std::string text;
        MessageIcon icon;
    };

    void showMessage(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        messages.push_back({title, text, icon});
    }
    bool askYesNo(const std::string& /*title*/, const std::string& question) override
    {
        questions.push_back(question);
        return answer;
    }
    /// The texts of the messages so far, which are then forgotten.
    std::vector<std::string> takeTexts()
    {
        std::vector<std::string> texts;
        for (const Message& message : messages)
            texts.push_back(message.text);
        messages.clear();
        return texts;
    }

    std::vector<Message> messages;
    std::vector<std::string> questions;
    bool answer = false;
};
