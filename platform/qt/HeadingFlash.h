// Makes a text control blink for a few seconds by swapping its foreground and background
// colours, so that a driver who looked away sees that something happened up there. It draws
// only: the control's text, place and state are never touched, and when the flash ends the
// control has exactly the colours it had before.
//
// The swapped colours are the control's own, so the flash keeps the contrast of whatever
// theme it is drawn in.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QTimer>

class QWidget;

class CHeadingFlash final : public QObject
{
    Q_OBJECT

public:
    // Half a blink; FlashPhases of them make the flash about five seconds long.
    static constexpr int PhaseMilliseconds = 400;
    static constexpr int FlashPhases = 12;

    explicit CHeadingFlash(QObject* parent = nullptr);
    ~CHeadingFlash() override;
    CHeadingFlash(const CHeadingFlash&) = delete;
    CHeadingFlash& operator=(const CHeadingFlash&) = delete;

    // Starts the flash of `widget` with its colours swapped, ending one that runs first. A
    // null widget starts nothing.
    void Start(QWidget* widget);
    // Ends the flash at once; the widget has its colours back.
    void Stop();
    bool IsFlashing() const;

    // The next phase of the flash, as the flash's timer calls it.
    void OnFlashTick();

private:
    enum class Phase
    {
        Plain,
        Swapped, // text and background colours exchanged
    };
    void ShowPhase(Phase phase);

    QTimer m_timer;
    QPointer<QWidget> m_widget;
    int m_phasesLeft = 0;
    // What the widget had before, given back exactly when the flash ends.
    QPalette m_palette;
    bool m_hadOwnPalette = false;
    bool m_filledBackground = false;
};
