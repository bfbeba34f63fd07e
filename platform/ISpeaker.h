// A voice that reads texts aloud. CQtSpeaker speaks through Qt's text-to-speech; the tests
// record what would have been said.
#pragma once

#include "platform/Text.h"

class ISpeaker
{
public:
    virtual ~ISpeaker() = default;
    // Says `text`, cutting short whatever is being said: the newest screen is the one that
    // counts. An empty text says nothing. Never fails; a voice that cannot speak stays silent.
    virtual void Speak(const Text& text) = 0;
};
