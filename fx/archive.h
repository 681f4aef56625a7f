// CArchive: the bytes a document is stored into or loaded from when it is
// kept somewhere other than its own file (an OLE container's storage). A
// document's Serialize reads or appends the bytes as IsStoring says.
#pragma once

#include <string>

class CArchive {
public:
    enum Mode { store, load };
    CArchive(Mode mode, std::string& bytes) : m_mode(mode), m_bytes(bytes) {}

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    // Storing: what has been written so far. Loading: what is to be read.
    std::string& Bytes() { return m_bytes; }

private:
    Mode m_mode;
    std::string& m_bytes;
};
