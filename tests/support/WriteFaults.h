#pragma once
// Scripted write failures: for as long as a WriteFault lives, the n-th time the file writer
// reaches a given step, that step fails as the system would (no permission, full disk,
// refused rename). Also the table of every place a write can fail, for tests that walk it.

#include "platform/FileIO.h"

#include <ostream>
#include <string>
#include <vector>

namespace writefaults {

using pictarium::WriteStep;

inline const char *stepName(WriteStep step)
{
    switch (step) {
    case WriteStep::Create:
        return "create";
    case WriteStep::Write:
        return "write";
    case WriteStep::Flush:
        return "flush";
    case WriteStep::Rename:
        return "rename";
    }
    return "?";
}

// One place to fail: the occurrence-th time (from 1) the writer reaches step.
struct FaultPoint {
    WriteStep step;
    int occurrence = 1;
    [[nodiscard]] std::string name() const { return std::string(stepName(step)) + "_" + std::to_string(occurrence); }
};

inline std::ostream &operator<<(std::ostream &os, const FaultPoint &p) { return os << p.name(); }

// Every step of the first `files` whole-file writes. A failed Write step has already put
// part of the bytes on disk, as a full disk does.
inline std::vector<FaultPoint> everyStepOf(int files)
{
    std::vector<FaultPoint> points;
    for (int n = 1; n <= files; ++n) {
        for (WriteStep s : {WriteStep::Create, WriteStep::Write, WriteStep::Flush, WriteStep::Rename})
            points.push_back({s, n});
    }
    return points;
}

class WriteFault {
public:
    explicit WriteFault(FaultPoint point)
    {
        state() = {point, 0, false};
        pictarium::setWriteFaultHook(&hook);
    }
    ~WriteFault() { pictarium::setWriteFaultHook(nullptr); }
    WriteFault(const WriteFault &) = delete;
    WriteFault &operator=(const WriteFault &) = delete;

    // Whether the scripted failure happened: a test can check that its fault was reached.
    [[nodiscard]] bool fired() const { return state().fired; }

private:
    struct State {
        FaultPoint point;
        int seen;
        bool fired;
    };
    // The hook is a plain function, so its script lives here.
    static State &state()
    {
        static State s{{WriteStep::Create}, 0, false};
        return s;
    }
    static bool hook(WriteStep step)
    {
        State &s = state();
        if (step != s.point.step || ++s.seen != s.point.occurrence)
            return false;
        s.fired = true;
        return true;
    }
};

} // namespace writefaults
