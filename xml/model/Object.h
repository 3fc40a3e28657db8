// Object: the abstract root of everything that has type information
// (element objects and their attribute members).
#pragma once

class ObjectTypeInfo;

class Object {
public:
    // The process-wide description of the most derived class.
    virtual const ObjectTypeInfo& GetTypeInfo() const = 0;

protected:
    ~Object() = default;
};
