#include "cli/InterruptRequest.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;
using Handler = void (*)(int);
Handler previousHandler = SIG_DFL;

extern "C" void raiseInterruptFlag(int /*signal*/)
{
    interrupted = 1;
}

} // namespace

InterruptRequest::InterruptRequest()
{
    interrupted = 0;
    previousHandler = std::signal(SIGINT, raiseInterruptFlag);
}

InterruptRequest::~InterruptRequest()
{
    std::signal(SIGINT, previousHandler);
}

bool InterruptRequest::requested() const
{
    return interrupted != 0;
}
