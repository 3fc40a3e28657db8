// XmlObjectFactory: makes objects of one element class.
#pragma once

class XmlObject;

class XmlObjectFactory {
public:
    // A new object with count 0, or none. `root` (may be null) is the root
    // of the document being built, told about document sizes when "Max
    // Document Size" is on.
    virtual XmlObject* CreateObject(XmlObject* root) = 0;

protected:
    ~XmlObjectFactory() = default;
};
