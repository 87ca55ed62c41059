#pragma once

#include "app/platform/MessageSink.h"

#include <string>

/// Counts the messages of a table; the fixtures here expect none.
class CountingMessageSink : public MessageSink {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override { ++count; }

    int count = 0;
};
