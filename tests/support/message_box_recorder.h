// Records every message box a program in the test's process shows (text,
// caption, icon) into `boxes` and answers each with the next button in
// `answers` (OK when none is left), for the life of the object.
#pragma once

#include <deque>
#include <vector>

#include "fx/message_box.h"

namespace vtest {

class MessageBoxRecorder {
public:
    MessageBoxRecorder(std::vector<MessageBoxRequest>& boxes, std::deque<int>& answers)
    {
        old_ = FxSetMessageBoxHandler([&boxes, &answers](const MessageBoxRequest& r) {
            boxes.push_back(r);
            if (answers.empty())
                return IDOK;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageBoxRecorder() { FxSetMessageBoxHandler(old_); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

private:
    MessageBoxHandler old_;
};

}  // namespace vtest
