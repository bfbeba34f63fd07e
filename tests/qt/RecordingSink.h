// A dialog message sink for the surface's tests: it records what reaches the dialog.
#pragma once

#include "platform/DialogMessage.h"

#include <algorithm>
#include <functional>
#include <vector>

class CRecordingSink : public IDialogMessageSink
{
public:
    bool OnDialogInit() override
    {
        ++initCount;
        return true;
    }
    void OnMessage(const DialogMessage& message) override
    {
        messages.push_back(message);
        if (onMessage)
        {
            onMessage(message);
        }
    }
    int Count(MessageKind kind) const
    {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                              [kind](const auto& m) { return m.kind == kind; }));
    }

    int initCount = 0;
    std::vector<DialogMessage> messages;
    std::function<void(const DialogMessage&)> onMessage;
};
