#pragma once

#include "platform/MessageSink.h"

#include <string>

/// Writes text to standard output and flushes it. False after a message through messages
/// when that fails, for instance on a full disk or a closed stream: "The results cannot be
/// written to standard output: REASON." with the system's reason.
bool writeStandardOutput(const std::string& text, MessageSink& messages);
