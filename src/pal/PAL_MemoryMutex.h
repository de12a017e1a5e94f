#pragma once

// The Core memory mutex is a normal mutex of the process-wide thread manager.
// The first Core start-up creates it and nothing destroys it; from then on,
// every tracked and global allocation locks it.

// Tells Core how to make and use the mutex. Runs once during static
// initialisation; when Core was already started by an earlier static
// initialiser, the mutex is made at once.
void InstallMemoryMutex();
