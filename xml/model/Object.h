// Object: the abstract root of everything that has type information
// (element objects and their attribute members).
#pragma once

class ObjectTypeInfo;

// Attribute members are byte-packed (no alignment gaps between their
// fields), so their bases are packed too: Object is only a virtual table
// pointer and may sit at any address inside an element object.
#pragma pack(push, 1)
class Object {
public:
    // The process-wide description of the most derived class.
    virtual const ObjectTypeInfo& GetTypeInfo() const = 0;

protected:
    ~Object() = default;
};
#pragma pack(pop)
