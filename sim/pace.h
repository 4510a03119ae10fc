// The pace of normal running: how many steps a second Normal draws, so that a class can follow
// the drift towards N/2 that an unlimited run finishes within its first frame.
//
// The digit keys choose it, in any run mode: 1 = 1, 2 = 3, 3 = 10, 4 = 30, 5 = 100, 6 = 300,
// 7 = 1,000, 8 = 3,000, 9 = 10,000 steps a second, and 0 = no limit, the start value. Only Normal
// keeps it: Stepwise waits for keys anyway and Quiet runs as fast as it can. A paced turn sleeps
// until its step is due; a key that arrives meanwhile ends the sleep at once, so keys are taken
// at every pace. Steps fall due at even intervals from the first paced step; a turn that comes
// later than one interval after its due time starts the count afresh instead of catching up.
//
// The pace keeps time by the host's clock and sleeps in the host's key wait with a deadline
// (host.h, keyboard.h), so a test host can let time pass only while the pace waits.
#pragma once

#include <cstdint>

#include "sim/run_state.h"

// Steps a second for a digit key 0..9 ('0' is no limit), or -1 for any other key.
int32_t pace_for_key(int key);

// Applies a key read at the run-key wait: a digit sets the run's pace and restarts the count.
void pace_key(RunState& run, int key);

// In a Normal turn with a pace, after the keyboard was looked at: waits until the step is due
// and books it (false), or returns true when a key came first (look at the keyboard again).
// False at once in every other case.
bool pace_holds_back(RunState& run);
