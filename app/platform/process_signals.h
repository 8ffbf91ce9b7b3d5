#pragma once
// Signal dispositions the workstation sets once at start-up, before any window or thread exists.
namespace kavrino {

// A write past the process's file-size limit (`ulimit -f`) raises SIGXFSZ, which by default ends
// the process on the spot and loses everything not yet saved. Ignored, the write fails with EFBIG
// instead, and the save reports it as a file it could only partly write.
void ignoreFileSizeLimitSignal();

}  // namespace kavrino
