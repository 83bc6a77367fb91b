#pragma once
#include <QStringList>

// The program's jobs for a scheduler: they run without any window or display, print one line
// with the result and end with 0 on success, non-zero with the reason on standard error.
//   brevanto --backup FILE_OR_FOLDER    brevanto --verify FILE    brevanto --help
namespace commandline {

// Whether the arguments ask for one of the jobs rather than the program's windows.
bool wanted(int argc, char** argv);

// Runs the job the arguments name (a QCoreApplication exists) and returns the exit code.
int run(const QStringList& arguments);

} // namespace commandline
