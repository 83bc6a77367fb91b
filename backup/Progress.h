#pragma once
#include <QtGlobal>

// What a long backup operation reports while it works, and how its caller stops it: the
// progress window, the command line (which never stops) and the tests' hooks.
class Progress {
public:
    enum class Step { Writing, Verifying, Unpacking, Replacing, Cleaning };

    virtual ~Progress() = default;
    // A new step begins; total is its amount of work (bytes, or files for Replacing).
    virtual void begin(Step step, qint64 total) = 0;
    // done of the step's total; false asks the operation to stop and leave nothing behind.
    virtual bool advance(qint64 done) = 0;
};

// Reports nowhere and never stops.
class NoProgress : public Progress {
public:
    void begin(Step, qint64) override { }
    bool advance(qint64) override { return true; }
};
