#pragma once

#include "platform/MessageSink.h"

#include <string>
#include <vector>

/// Keeps every message the tables hand over, in order.
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

    std::vector<Message> messages;
};
