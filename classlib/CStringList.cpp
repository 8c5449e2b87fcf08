#include "classlib/CStringList.h"

struct CStringList::Node : __POSITION {
    Node* prev;
    Node* next;
    CString value;
};

CStringList::CStringList()
    : m_head(NULL),
      m_tail(NULL),
      m_count(0)
{
}
CStringList::~CStringList()
{
    RemoveAll();
}

POSITION CStringList::AddTail(const CString& text)
{
    Node* node = new Node{{}, m_tail, NULL, text};
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    return node;
}

POSITION CStringList::AddHead(const CString& text)
{
    Node* node = new Node{{}, NULL, m_head, text};
    if (m_head)
        m_head->prev = node;
    else
        m_tail = node;
    m_head = node;
    ++m_count;
    return node;
}

POSITION CStringList::GetHeadPosition() const
{
    return m_head;
}
POSITION CStringList::GetTailPosition() const
{
    return m_tail;
}

CString& CStringList::GetNext(POSITION& pos)
{
    Node* node = static_cast<Node*>(pos);
    pos = node->next;
    return node->value;
}

const CString& CStringList::GetNext(POSITION& pos) const
{
    const Node* node = static_cast<const Node*>(pos);
    pos = node->next;
    return node->value;
}

CString& CStringList::GetPrev(POSITION& pos)
{
    Node* node = static_cast<Node*>(pos);
    pos = node->prev;
    return node->value;
}

const CString& CStringList::GetPrev(POSITION& pos) const
{
    const Node* node = static_cast<const Node*>(pos);
    pos = node->prev;
    return node->value;
}

CString& CStringList::GetAt(POSITION pos)
{
    return static_cast<Node*>(pos)->value;
}
const CString& CStringList::GetAt(POSITION pos) const
{
    return static_cast<const Node*>(pos)->value;
}
CString& CStringList::GetHead()
{
    return m_head->value;
}
CString& CStringList::GetTail()
{
    return m_tail->value;
}

void CStringList::unlink(Node* node)
{
    (node->prev ? node->prev->next : m_head) = node->next;
    (node->next ? node->next->prev : m_tail) = node->prev;
    --m_count;
    delete node;
}

CString CStringList::RemoveHead()
{
    CString value = m_head->value;
    unlink(m_head);
    return value;
}

CString CStringList::RemoveTail()
{
    CString value = m_tail->value;
    unlink(m_tail);
    return value;
}

void CStringList::RemoveAt(POSITION pos)
{
    if (pos)
        unlink(static_cast<Node*>(pos));
}

void CStringList::RemoveAll()
{
    while (m_head)
        unlink(m_head);
}

POSITION CStringList::Find(const char* value, POSITION startAfter) const
{
    Node* node = startAfter ? static_cast<Node*>(startAfter)->next : m_head;
    for (; node; node = node->next)
        if (node->value == value)
            return node;
    return NULL;
}

POSITION CStringList::FindIndex(INT_PTR index) const
{
    if (index < 0)
        return NULL;
    Node* node = m_head;
    while (node && index-- > 0)
        node = node->next;
    return node;
}
