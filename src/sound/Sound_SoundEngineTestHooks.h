#pragma once

// How often every source was stopped, for tests of the level change.
int& GetStopAllCountForTesting();
