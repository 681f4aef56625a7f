// COleDropTarget: registers a window as an OLE drop target that accepts
// nothing, so that a drag over a server's window does not fall through to
// the container behind it. Revoked by Revoke or with the object.
#pragma once

#include <windows.h>

class CWnd;

class COleDropTarget {
public:
    COleDropTarget();
    ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* wnd);
    void Revoke();

private:
    struct Target;
    Target* m_pTarget;
    HWND m_hWnd = nullptr;
};
