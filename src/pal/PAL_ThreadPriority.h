#pragma once

// Five scheduling priority levels of the normal policy, shared by every
// thread manager. Threads are created with one of these: on Linux the normal
// policy has the single priority 0, and any other value would be refused.
struct ThreadPriorityLevels {
    int lowest;
    int low;
    int normal;
    int high;
    int highest;
};

// The levels spread between the policy's minimum and maximum priority:
// normal halfway, low and high halfway again (integer halves, truncating).
ThreadPriorityLevels ComputeThreadPriorityLevels(int minimum, int maximum);

// The process's levels, computed once from the normal policy's range (the
// first thread manager asks for them).
const ThreadPriorityLevels& GetThreadPriorityLevels();

int ThreadPriorityLowest();
int ThreadPriorityLow();
int ThreadPriorityNormal();
int ThreadPriorityHigh();
int ThreadPriorityHighest();
