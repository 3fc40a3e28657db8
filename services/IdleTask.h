// IdleTask: work the idle worker runs at each idle run.
#pragma once

class IdleTask {
public:
    virtual void OnIdle() = 0;

protected:
    ~IdleTask() = default;
};
