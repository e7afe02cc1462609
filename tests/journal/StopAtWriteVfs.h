#pragma once

// A SQLite file system for fault tests: it passes every call on to the default one, counts the
// writes and syncs of all files, and at the write or sync numbered `stopAt` (from 1) writes one
// byte to `signalFd` and waits forever, so that a test process can be killed at exactly that
// point. Registered as the default, so the program's own code uses it unchanged. For a child
// process only: the wait never ends.
void InstallStopAtWriteVfs(int stopAt, int signalFd);
