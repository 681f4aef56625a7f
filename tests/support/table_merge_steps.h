// Steps of a DialogScript that walk through a table merge in either
// program: the open-file dialog, the guideline, and each duplicate.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dialog_script.h"

namespace vtest {

// What a merge showed in its dialogs, for the test to check.
struct MergeSeen {
    std::string fileDialogTitle;
    std::vector<std::string> filters;  // the file types offered, in order
    std::string fileName;              // shown in the guideline dialog
    std::map<int, std::string> guidelineTexts;  // radio buttons by id
    int checkedGuideline = 0;          // the radio checked when the dialog opened
    // Each duplicate dialog: its caption (-1) and every field by id (check
    // boxes as "1" or "0").
    std::vector<std::map<int, std::string>> duplicates;
};

// The open-file dialog: names `path` and presses Open.
inline DialogScript::Step OpenMergeFile(std::string path, MergeSeen* seen = nullptr)
{
    return [path, seen](HWND dialog) {
        if (seen != nullptr) {
            seen->fileDialogTitle = DialogScript::Text(dialog);
            HWND types = GetDlgItem(dialog, 0x470);  // cmb1, the file types
            for (int i = 0; i < static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0)); ++i) {
                char text[256] = "";
                SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                seen->filters.push_back(text);
            }
        }
        HWND name = GetDlgItem(dialog, 0x47C);  // the file name box of the explorer-style dialog
        if (name == nullptr)
            name = GetDlgItem(dialog, 0x480);
        SetWindowTextA(name, path.c_str());
        DialogScript::Press(dialog, IDOK);
    };
}

// The guideline dialog: picks the radio button `guidelineId` (0 keeps the
// one checked) and presses `button`.
inline DialogScript::Step PickGuideline(int firstGuidelineId, int guidelineId, MergeSeen* seen = nullptr,
                                        int button = IDOK)
{
    return [=](HWND dialog) {
        for (int id = firstGuidelineId; id < firstGuidelineId + 4; ++id) {
            if (seen != nullptr) {
                seen->guidelineTexts[id] = DialogScript::ItemText(dialog, id);
                if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
                    seen->checkedGuideline = id;
            }
        }
        if (seen != nullptr)
            seen->fileName = DialogScript::ItemText(dialog, 1099);
        if (guidelineId != 0)
            SendMessageA(GetDlgItem(dialog, guidelineId), BM_CLICK, 0, 0);
        DialogScript::Press(dialog, button);
    };
}

// A duplicate dialog: records the fields `ids` and presses `button`.
inline DialogScript::Step AnswerDuplicate(int button, const std::vector<int>& ids, MergeSeen* seen)
{
    return [=](HWND dialog) {
        std::map<int, std::string> shown{{-1, DialogScript::Text(dialog)}};
        for (int id : ids) {
            char cls[32] = "";
            HWND control = GetDlgItem(dialog, id);
            GetClassNameA(control, cls, sizeof cls);
            shown[id] = lstrcmpiA(cls, "Button") == 0 ? (IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0")
                                                       : DialogScript::Text(control);
        }
        if (seen != nullptr)
            seen->duplicates.push_back(shown);
        DialogScript::Press(dialog, button);
    };
}

}  // namespace vtest
