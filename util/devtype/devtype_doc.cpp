#include "util/devtype/devtype_doc.h"

#include "stack/tarpin32.h"

IMPLEMENT_DYNCREATE(CDevTypeDoc, CDocument)

void CDevTypeDoc::NotifyTableChanged()
{
    // What the stack answers does not change the save.
    VSXNotifyPAPTypesChanged(0);
}
