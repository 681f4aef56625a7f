// The document type chooser of File New, shown when several document types
// have a File New name.
#pragma once

#include <vector>

#include "fx/dialog.h"

class CDocTemplate;

class CNewTypeDlg : public CDialog {
public:
    explicit CNewTypeDlg(std::vector<CDocTemplate*> types);
    CDocTemplate* m_pSelectedTemplate = nullptr;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<CDocTemplate*> m_types;
};
