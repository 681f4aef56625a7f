#include "util/automation_doc.h"

#include "fx/fx_ids.h"
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

// File > Print uses the framework's printing (the view draws nothing).
BEGIN_MESSAGE_MAP(CVestrelUtilView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
END_MESSAGE_MAP()

void CVestrelUtilView::OnDraw(CDC*) {}
