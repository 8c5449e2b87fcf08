#pragma once
// A doubly linked list of CString walked by POSITION. GetNext/GetPrev move the
// position before returning, so the element just returned may be removed.

#include "classlib/CObject.h"
#include "classlib/CString.h"

class CStringList : public CObject {
public:
    CStringList();
    ~CStringList() override;
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    INT_PTR GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION AddTail(const CString& text);
    POSITION AddHead(const CString& text);
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;

    CString& GetNext(POSITION& pos);
    const CString& GetNext(POSITION& pos) const;
    CString& GetPrev(POSITION& pos);
    const CString& GetPrev(POSITION& pos) const;
    CString& GetAt(POSITION pos);
    const CString& GetAt(POSITION pos) const;
    CString& GetHead();  // the list must not be empty
    CString& GetTail();

    CString RemoveHead();  // the list must not be empty
    CString RemoveTail();
    void RemoveAt(POSITION pos);
    void RemoveAll();

    POSITION Find(const char* value, POSITION startAfter = NULL) const;
    POSITION FindIndex(INT_PTR index) const;

private:
    struct Node;
    void unlink(Node* node);

    Node* m_head;
    Node* m_tail;
    INT_PTR m_count;
};
