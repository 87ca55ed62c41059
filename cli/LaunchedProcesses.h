#pragma once

#include "simulation/ProcessGroup.h"

#include <memory>

/// The processes that a launcher (mpirun) started together with this one, joined for a
/// simulation spread over them; nullptr when this process was started on its own, or the
/// program was built without MPI. The group ends with the returned object, which must
/// outlive every run over it.
std::unique_ptr<ProcessGroup> joinLaunchedProcesses(int& argc, char**& argv);
