#pragma once
// The common base of the class library's objects; maps of CObject* hold any
// of them.

class CObject {
public:
    virtual ~CObject();
};
