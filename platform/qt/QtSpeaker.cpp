#include "platform/qt/QtSpeaker.h"

#include <QLocale>
#include <QTextToSpeech>
#include <cstdio>

namespace
{
constexpr const char* NoEngineLine =
    "tavrino: no text-to-speech engine is installed, --speak stays silent (Debian: "
    "qt6-speech-speechd-plugin or qt6-speech-flite-plugin)\n";
} // namespace

CQtSpeaker::CQtSpeaker(QObject* parent) : QObject(parent)
{
    // Asked first, because a text-to-speech object without any engine warns on its own.
    if (QTextToSpeech::availableEngines().isEmpty())
    {
        std::fputs(NoEngineLine, stderr);
        return;
    }
    auto* speech = new QTextToSpeech(this);
    if (speech->state() == QTextToSpeech::Error)
    {
        const QString line = "tavrino: the text-to-speech engine '" + speech->engine() +
                             "' cannot start (" + speech->errorString() +
                             "), --speak stays silent\n";
        std::fputs(qPrintable(line), stderr);
        delete speech;
        return;
    }
    m_speech = speech;
    // An engine may start and still have nothing to speak through, such as no audio device;
    // that is said once, not at every screen.
    connect(speech, &QTextToSpeech::errorOccurred, this,
            [this](QTextToSpeech::ErrorReason, const QString& error)
            {
                if (m_errorReported)
                    return;
                m_errorReported = true;
                const QString line = "tavrino: the text-to-speech engine cannot speak (" + error +
                                     "), --speak stays silent\n";
                std::fputs(qPrintable(line), stderr);
            });
    ChooseGermanVoice();
}

void CQtSpeaker::ChooseGermanVoice()
{
    // The lists are German; a German voice of another country still reads them better than
    // the engine's default, which is often English.
    const QList<QLocale> locales = m_speech->availableLocales();
    const QLocale* german = nullptr;
    for (const QLocale& locale : locales)
    {
        if (locale.language() != QLocale::German)
            continue;
        if (german == nullptr || locale.territory() == QLocale::Germany)
            german = &locale;
    }
    if (german == nullptr)
        return;
    m_speech->setLocale(*german);
}

void CQtSpeaker::Speak(const Text& text)
{
    if (m_speech == nullptr || text.empty())
        return;
    // Not every engine drops what it is saying when given a new text.
    if (m_speech->state() == QTextToSpeech::Speaking || m_speech->state() == QTextToSpeech::Paused)
        m_speech->stop();
    m_speech->say(QString::fromStdString(text));
}

bool CQtSpeaker::CanSpeak() const
{
    return m_speech != nullptr;
}
