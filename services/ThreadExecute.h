// ThreadExecute: the body of a thread.
#pragma once

class ThreadExecute {
public:
    virtual void Execute() = 0;

protected:
    ~ThreadExecute() = default;
};
