#pragma once

namespace brevant {

// A program that writes documents calls this once at its start: SIGINT, SIGTERM,
// SIGHUP and SIGQUIT then first remove every hidden temporary file still being
// written, and end the program as the signal would have (the shell sees 128 + the
// signal's number). A write past the file-size limit fails with an error instead
// of ending the program, so the earlier document stays and the run goes on.
// On Windows Ctrl+C, Ctrl+Break and closing the console end the program with
// status 130; the system removes the pending files, which are marked for
// deletion while they are written.
void RemovePendingFilesOnSignals();

// The slots a signal handler reads: a path is noted before its file is created
// and forgotten once the file is gone or renamed. Gives the slot, or -1 when all
// are taken (the caller then does without the temporary name).
int NotePendingPath(const char* path);
void ForgetPendingPath(int slot);

}  // namespace brevant
