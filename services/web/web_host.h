// The web page's host: the programs in a browser tab, on the page's one thread.
//
// The page (web/page.js) makes one module instance per program run, hands it a `host` object
// and calls main; host_program (program_host.h) then runs the logic on the browser's main
// thread. The logic keeps its waits; each one gives the browser its turn through Asyncify,
// which unwinds the WebAssembly stack into the page's event loop and rewinds it when the wait
// is over:
//   - read_key with an empty queue (the number prompts, step by step) waits until the page
//     hands in a key, and the pace of normal running waits until a key or its deadline,
//     whichever comes first (the host's key wait, host.h; the page keeps the deadline with a
//     timer beside the key wait's wake-up);
//   - the console's sleep (the page prompt's spinner) waits on a timer;
//   - the step loop's turn hook (host.h) yields when a frame's time of turns has run, so
//     in Normal and Quiet the page repaints and keys arrive between two slices of turns.
// Nothing else yields: drawing and the model run to their next wait untouched, and the page
// reads the console model and the surface straight out of memory when it repaints
// (web_page_api.cpp). There are no threads, so the drawing lock is never contended.
//
// The graphics surface is shown in the page while it is open, like the desktop's window; its
// size follows the window's rule, applied to the page's free area: measured at the first
// opening, divided by the zoom the page chose (at least 640 x 480), and given again to every
// later one.
//
// Ctrl-C ends the program as it does on the desktop, at once: the page's keydown hands it to the
// host's interrupt (host.h), which tells the page; the page stops answering the program's waits,
// drops the instance and goes back to the program chooser with a notice.
//
// The host record is installed once, when host_program starts, and cleared when the logic has
// ended; the page makes a new instance for every run.
#pragma once

#include <cstdint>

// Turns of the step loop since the program started (the T of the run); the page and its tests
// read it.
int64_t web_turn_count();

// Operator new calls since the program started (web_allocations.cpp); the page's tests read it.
uint64_t web_allocation_count();

// Version of the console model: grows with every present, so the page redraws only on change.
uint32_t web_console_version();
