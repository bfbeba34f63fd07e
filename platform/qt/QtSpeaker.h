// Reads texts aloud through Qt's text-to-speech, in German where the system has a German
// voice, else in the engine's own language. Without an engine, or with one that cannot start
// or cannot speak (no audio device), it says so in one line on standard error and stays silent.
//
// Needs a QCoreApplication that outlives it.
#pragma once

#include "platform/ISpeaker.h"

#include <QObject>

class QTextToSpeech;

class CQtSpeaker final : public QObject, public ISpeaker
{
    Q_OBJECT

public:
    explicit CQtSpeaker(QObject* parent = nullptr);

    void Speak(const Text& text) override;

    // False when it stays silent.
    bool CanSpeak() const;

private:
    void ChooseGermanVoice();

    QTextToSpeech* m_speech = nullptr; // a child; null when silent
    bool m_errorReported = false;
};
