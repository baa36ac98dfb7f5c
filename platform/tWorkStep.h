// One step of the program's work: an idle step, a wake-up, filling a month, a tip.  Within a
// step the kernel is asked once whether a profile file changed, and the current directory is
// read once; outside any step every look is fresh.  Steps nest; the outermost one counts.
#pragma once

#include <cstdint>
#include <string>

class tWorkStep {
public:
    // kLoopPolled: the step runs straight from the event loop, which has just asked the kernel
    // about the files (the idle step, the wake-up): the file changes it reported are taken.
    enum tKind { kPlain, kLoopPolled };
    explicit tWorkStep(tKind kind = kPlain);
    ~tWorkStep();
    tWorkStep(const tWorkStep&) = delete;
    tWorkStep& operator=(const tWorkStep&) = delete;

    // Whether a step runs, and which one: a new number for each outermost step.
    static bool Running();
    static uint64_t Number();
    static bool LoopPolled(); // whether the outermost step is kLoopPolled
    // The current directory, read once a step (every time outside one).
    static const std::string& CurrentDirectory();
};
