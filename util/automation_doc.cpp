#include "util/automation_doc.h"

#include "fx/ole.h"

IMPLEMENT_DYNCREATE(CVestrelUtilDoc, CDocument)
IMPLEMENT_DYNCREATE(CVestrelUtilView, CView)

CVestrelUtilDoc::CVestrelUtilDoc()
{
    EnableAutomation();
    AfxOleLockApp();
}

CVestrelUtilDoc::~CVestrelUtilDoc()
{
    AfxOleUnlockApp();
}

void CVestrelUtilDoc::OnFinalRelease()
{
    OnCloseDocument();
}

void CVestrelUtilView::OnDraw(CDC*) {}
