#pragma once

// The calling thread's use of the processors, in milliseconds.
namespace testsupport {

// Time it has run on a processor.
double ThreadProcessorMilliseconds();

// Time it has run on a processor or waited, ready, for one: a thread that
// never sleeps counts all of its time, however busy the machine. Without
// the scheduler's figures, the processor time alone.
double ThreadDemandMilliseconds();

}  // namespace testsupport
