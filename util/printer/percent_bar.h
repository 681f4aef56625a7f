// CPercentBar: the progress dialog's bar, a static control (1023) whose
// only message is WM_PAINT.
#pragma once

#include "fx/controls.h"
#include "percent_bar_geometry.h"

class CPercentBar : public CStatic {
    DECLARE_MESSAGE_MAP()
public:
    // Clamps, repaints when the position changed; returns the previous one.
    int SetPos(int position);
    int GetPos() const { return m_state.Pos(); }
    void OnPaint();


private:
    PercentBarState m_state;
};
