#include "cli/StderrMessageSink.h"

#include <iostream>

void StderrMessageSink::showMessage(const std::string& title, const std::string& text,
                                    MessageIcon /*icon*/)
{
    if (writes)
        std::cerr << title << ": " << text << std::endl;
}

bool StderrMessageSink::askYesNo(const std::string& /*title*/, const std::string& /*question*/)
{
    return false;
}
