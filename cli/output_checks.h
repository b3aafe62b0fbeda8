#pragma once

#include "cli/command_line.h"

namespace linkcalc::cli {

// An output (--kml, --profile) that names one of the inputs (--csv, --terrain, --dem, standard
// input for "-") or the other output is a UsageError naming both options. Paths compare by
// the file they lead to: its device and inode when it exists, else where it would be created.
void CheckOutputsAreNotInputs(const CommandLine& line);

}  // namespace linkcalc::cli
