#pragma once
// What the process must be before any Qt object exists: the first call of the program.

// A write past the file-size limit (ulimit -f) fails as a write on a full disk does, with "File
// too large", and is told; by default the system ends the process instead. Qt may write its
// first warning while the application object is made, into a file under that limit, and the
// sound library sizes its shared memory past small limits: so the signal is off from the start.
// Also points Qt at the program's own plugins and keeps it from loading an OpenGL stack.
void prepareProcess();
