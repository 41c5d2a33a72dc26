// The framework's object root and containers: lists walked with POSITION, an
// insertion-ordered string map and growable typed arrays.
#pragma once

#include "String.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct __POSITION {};
typedef __POSITION* POSITION;

class CObject {
public:
    virtual ~CObject() = default;
};

// A doubly linked list whose positions stay valid until their own node is removed.
template <class T> class CNodeList {
    struct Node : __POSITION {
        T value;
        Node* prev;
        Node* next;
        Node(const T& v, Node* p, Node* n) : value(v), prev(p), next(n) {}
    };

public:
    explicit CNodeList(int /*nBlockSize*/ = 10) {}
    CNodeList(const CNodeList& other) { AddTail(other); }
    CNodeList& operator=(const CNodeList& other) {
        if (this != &other) {
            RemoveAll();
            AddTail(other);
        }
        return *this;
    }
    ~CNodeList() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    T& GetHead() { return m_pHead->value; }
    const T& GetHead() const { return m_pHead->value; }
    T& GetTail() { return m_pTail->value; }
    const T& GetTail() const { return m_pTail->value; }

    POSITION AddHead(const T& v) { return InsertBefore(GetHeadPosition(), v); }
    POSITION AddTail(const T& v) { return InsertAfter(GetTailPosition(), v); }
    void AddTail(const CNodeList& other) {
        for (Node* n = other.m_pHead; n; n = n->next)
            AddTail(n->value);
    }
    T RemoveHead() {
        T v = m_pHead->value;
        RemoveAt(m_pHead);
        return v;
    }
    T RemoveTail() {
        T v = m_pTail->value;
        RemoveAt(m_pTail);
        return v;
    }
    void RemoveAll() {
        while (m_pHead)
            RemoveAt(m_pHead);
    }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }
    T& GetNext(POSITION& pos) {
        Node* n = static_cast<Node*>(pos);
        pos = n->next;
        return n->value;
    }
    const T& GetNext(POSITION& pos) const {
        Node* n = static_cast<Node*>(pos);
        pos = n->next;
        return n->value;
    }
    T& GetPrev(POSITION& pos) {
        Node* n = static_cast<Node*>(pos);
        pos = n->prev;
        return n->value;
    }
    T& GetAt(POSITION pos) { return static_cast<Node*>(pos)->value; }
    const T& GetAt(POSITION pos) const { return static_cast<Node*>(pos)->value; }
    void SetAt(POSITION pos, const T& v) { static_cast<Node*>(pos)->value = v; }

    POSITION InsertBefore(POSITION pos, const T& v) {
        Node* at = static_cast<Node*>(pos);
        Node* prev = at ? at->prev : nullptr;
        Node* n = new Node(v, prev, at);
        (prev ? prev->next : m_pHead) = n;
        if (at)
            at->prev = n;
        else
            m_pTail = n;
        ++m_nCount;
        return n;
    }
    POSITION InsertAfter(POSITION pos, const T& v) {
        Node* at = static_cast<Node*>(pos);
        Node* next = at ? at->next : nullptr;
        Node* n = new Node(v, at, next);
        (next ? next->prev : m_pTail) = n;
        if (at)
            at->next = n;
        else
            m_pHead = n;
        ++m_nCount;
        return n;
    }
    void RemoveAt(POSITION pos) {
        Node* n = static_cast<Node*>(pos);
        (n->prev ? n->prev->next : m_pHead) = n->next;
        (n->next ? n->next->prev : m_pTail) = n->prev;
        delete n;
        --m_nCount;
    }

    // First position at or after startAfter's successor holding a value equal to v.
    POSITION Find(const T& v, POSITION startAfter = nullptr) const {
        Node* n = startAfter ? static_cast<Node*>(startAfter)->next : m_pHead;
        for (; n; n = n->next) {
            if (n->value == v)
                return n;
        }
        return nullptr;
    }
    POSITION FindIndex(int nIndex) const {
        Node* n = nIndex >= 0 ? m_pHead : nullptr;
        for (; n && nIndex > 0; --nIndex)
            n = n->next;
        return n;
    }

private:
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
};

class CStringList : public CObject, public CNodeList<CString> {
public:
    using CNodeList<CString>::CNodeList;
};

class CPtrList : public CObject, public CNodeList<void*> {
public:
    using CNodeList<void*>::CNodeList;
};

// String-to-string map. Iteration follows insertion order, so a map filled from a
// directory entry lists its attributes in the order the server sent them.
class CMapStringToString : public CObject {
public:
    int GetCount() const { return m_entries.GetCount(); }
    int GetSize() const { return m_entries.GetCount(); }
    bool IsEmpty() const { return m_entries.IsEmpty(); }

    BOOL Lookup(const wchar_t* key, CString& value) const {
        auto it = m_index.find(key ? key : L"");
        if (it == m_index.end())
            return FALSE;
        value = m_entries.GetAt(it->second).second;
        return TRUE;
    }
    // Replaces the value of an existing key in place, keeping its position.
    void SetAt(const wchar_t* key, const wchar_t* value) { (*this)[key] = value; }
    CString& operator[](const wchar_t* key) {
        std::wstring k = key ? key : L"";
        auto it = m_index.find(k);
        if (it == m_index.end())
            it = m_index.emplace(k, m_entries.AddTail({CString(k), CString()})).first;
        return m_entries.GetAt(it->second).second;
    }
    BOOL RemoveKey(const wchar_t* key) {
        auto it = m_index.find(key ? key : L"");
        if (it == m_index.end())
            return FALSE;
        m_entries.RemoveAt(it->second);
        m_index.erase(it);
        return TRUE;
    }
    void RemoveAll() {
        m_entries.RemoveAll();
        m_index.clear();
    }

    POSITION GetStartPosition() const { return m_entries.GetHeadPosition(); }
    void GetNextAssoc(POSITION& pos, CString& key, CString& value) const {
        const auto& entry = m_entries.GetNext(pos);
        key = entry.first;
        value = entry.second;
    }

private:
    CNodeList<std::pair<CString, CString>> m_entries;
    std::unordered_map<std::wstring, POSITION> m_index;
};

// Growable array with the framework's index-based interface.
template <class T> class CArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(int nNewSize) { m_items.resize(nNewSize > 0 ? nNewSize : 0); }

    T& operator[](int i) { return m_items.at(i); }
    const T& operator[](int i) const { return m_items.at(i); }
    T& ElementAt(int i) { return m_items.at(i); }
    const T& GetAt(int i) const { return m_items.at(i); }
    void SetAt(int i, const T& v) { m_items.at(i) = v; }
    T* GetData() { return m_items.data(); }

    int Add(const T& v) {
        m_items.push_back(v);
        return GetUpperBound();
    }
    void InsertAt(int i, const T& v) { m_items.insert(m_items.begin() + i, v); }
    void RemoveAt(int i, int nCount = 1) {
        m_items.erase(m_items.begin() + i, m_items.begin() + i + nCount);
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<T> m_items;
};

using CStringArray = CArray<CString>;
using CUIntArray = CArray<UINT>;
using CDWordArray = CArray<DWORD>;
using CPtrArray = CArray<void*>;
