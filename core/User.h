#pragma once

#include "classlib/CObject.h"
#include "classlib/CString.h"

// One known peer, held in userMap under its IP text.
class User : public CObject {
public:
    User()
        : clientKind(0)
    {
    }
    virtual ~User() {}

    CString nickname;
    CString group;  // work-group path, levels joined by "-"
    CString host;
    CString ip;  // equal to its key in userMap
    int clientKind;  // 1 our own client, 2 another IPMSG client, 3 a version text holding '#'
};
