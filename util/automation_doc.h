// The automation document type: a document that clients create through
// the class factory. It stores nothing and has no properties or methods;
// while it exists it holds the application lock, so the program stays
// alive for the client.
#pragma once

#include "fx/document.h"
#include "fx/view.h"

class CVestrelUtilDoc : public CDocument {
    DECLARE_DYNCREATE(CVestrelUtilDoc)
public:
    CVestrelUtilDoc();
    ~CVestrelUtilDoc() override;
    // The last client reference closes the document.
    void OnFinalRelease() override;
};

class CVestrelUtilView : public CView {
    DECLARE_DYNCREATE(CVestrelUtilView)
    DECLARE_MESSAGE_MAP()
public:
    void OnDraw(CDC* dc) override;
};
