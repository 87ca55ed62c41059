#include "cli/InterruptRequest.h"

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t interrupted = 0;
using Handler = void (*)(int);
Handler previousInterruptHandler = SIG_DFL;
Handler previousTerminateHandler = SIG_DFL;

/// The status of a process ended by the second Ctrl+C, as shells report a SIGINT.
constexpr int INTERRUPTED_STATUS = 130;

extern "C" void raiseInterruptFlag(int /*signal*/)
{
    // The first Ctrl+C asks the run to stop; a second one means the user will not wait,
    // whatever the run is doing. _Exit is safe in a signal handler, unlike exit.
    if (interrupted != 0)
        std::_Exit(INTERRUPTED_STATUS);
    interrupted = 1;
}

} // namespace

InterruptRequest::InterruptRequest()
{
    interrupted = 0;
    previousInterruptHandler = std::signal(SIGINT, raiseInterruptFlag);
    previousTerminateHandler = std::signal(SIGTERM, raiseInterruptFlag);
}

InterruptRequest::~InterruptRequest()
{
    std::signal(SIGINT, previousInterruptHandler);
    std::signal(SIGTERM, previousTerminateHandler);
}

bool InterruptRequest::requested() const
{
    return interrupted != 0;
}
