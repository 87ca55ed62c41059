#pragma once

/// Ctrl+C during a simulation run: while an InterruptRequest lives, the first SIGINT only
/// raises a flag, which the run's polling loop reads and answers like the abort button; a
/// second one ends the process at once with status 130. SIGTERM is taken alike: mpirun
/// answers Ctrl+C by sending it to every process of the job. The flag is
/// a volatile sig_atomic_t because that is all a signal handler may safely write. The
/// previous handler returns when the object is destroyed.
class InterruptRequest {
public:
    InterruptRequest();
    ~InterruptRequest();
    InterruptRequest(const InterruptRequest&) = delete;
    InterruptRequest& operator=(const InterruptRequest&) = delete;

    /// Whether SIGINT or SIGTERM arrived since construction.
    bool requested() const;
};
