#pragma once

#include "WireTrace.h"

#include <QStringList>

// The wire trace of one run of vkrtool (--trace FILE): opened before the
// radio is looked for, shared by every radio of the run, and checked as
// the run ends like any output.
namespace TraceFile {

// Opens the trace after the checks every output gets (not onto an input,
// into a folder that can be written); its heading names the program, its
// version and the command line. The exit code, 0 when the run may go on.
int open(const QString &path, const QStringList &inputs, const QStringList &commandLine);

// The open trace, or null without --trace.
Link::WireTrace *current();

// Closes the trace: a trace that could not be written is said, and a run
// that succeeded then ends with exit code 3. Gives the run's exit code.
int close(int exitCode);

} // namespace TraceFile
