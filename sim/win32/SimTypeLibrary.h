#pragma once

namespace arn::win32 {

// Makes the simulated drive's classes known to the component runtime from the running
// program's own type library (TYPELIB resource 1, built in by arn_add_sim_faces), so the panel
// finds the drive's TimerTick event through them. Loads it once per process; false when the
// program carries no such library.
bool AddSimulatedDriveTypes();

}  // namespace arn::win32
