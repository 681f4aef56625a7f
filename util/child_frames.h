// The size-limited child frames of the lookup and printer type windows. A
// frame has no limit until its view, having fitted the frame to its
// contents, calls RecordSize; from then on the frame can be made smaller
// but never larger than that size.
#pragma once

#include "fx/mdi.h"

class CSizeLimitedChildFrame : public CMDIChildWnd {
    DECLARE_DYNAMIC(CSizeLimitedChildFrame)
    DECLARE_MESSAGE_MAP()
public:
    int m_nMaxWidth = -1;
    int m_nMaxHeight = -1;

    // Keeps the frame's current outer width and height as its limits.
    void RecordSize();

protected:
    void OnGetMinMaxInfo(MINMAXINFO* info);
};

// The lookup window's frame: its caption is always the lookup type's window
// title ("Exploring - AppleTalk Network"), never a document or file name.
class CVestrelLookupFrm : public CSizeLimitedChildFrame {
    DECLARE_DYNCREATE(CVestrelLookupFrm)
public:
    void OnUpdateFrameTitle(BOOL addToTitle) override;
};

class CDevTypeFrm : public CSizeLimitedChildFrame {
    DECLARE_DYNCREATE(CDevTypeFrm)
};
