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

// File > Print and Print Preview use the framework's (the view draws nothing).
BEGIN_MESSAGE_MAP(CVestrelUtilView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

void CVestrelUtilView::OnDraw(CDC*) {}
