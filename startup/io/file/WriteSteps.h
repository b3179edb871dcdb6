// Every change the startup manager makes to the disk or the registry (a file replaced,
// moved, copied or deleted, a value set or deleted) passes one write step just before it
// is made. Tests set a hook that stops the program at any step, as a crash there would,
// and check that no entry was lost. Standard library only.
#pragma once

namespace io::file {

// Called with a short text naming the change; a hook that throws stops the change.
using WriteStepHook = void (*)(const char* change);
// Returns the hook set before.
WriteStepHook setWriteStepHook(WriteStepHook hook);
void writeStep(const char* change);

}  // namespace io::file
