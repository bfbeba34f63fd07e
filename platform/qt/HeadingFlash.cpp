#include "platform/qt/HeadingFlash.h"

#include <QWidget>

CHeadingFlash::CHeadingFlash(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(PhaseMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CHeadingFlash::OnFlashTick);
}

CHeadingFlash::~CHeadingFlash()
{
    Stop();
}

void CHeadingFlash::Start(QWidget* widget)
{
    Stop();
    if (widget == nullptr)
        return;
    m_widget = widget;
    m_palette = widget->palette();
    m_hadOwnPalette = widget->testAttribute(Qt::WA_SetPalette);
    m_filledBackground = widget->autoFillBackground();
    m_phasesLeft = FlashPhases;
    ShowPhase(Phase::Swapped);
    m_timer.start();
}

void CHeadingFlash::Stop()
{
    m_timer.stop();
    if (m_phasesLeft == 0)
        return;
    m_phasesLeft = 0;
    ShowPhase(Phase::Plain);
    m_widget.clear();
}

bool CHeadingFlash::IsFlashing() const
{
    return m_phasesLeft > 0;
}

void CHeadingFlash::OnFlashTick()
{
    if (m_phasesLeft == 0)
        return;
    --m_phasesLeft;
    if (m_phasesLeft == 0)
    {
        m_timer.stop();
        ShowPhase(Phase::Plain);
        m_widget.clear();
        return;
    }
    // FlashPhases is even and the first phase swapped: an even count left is a swapped phase.
    ShowPhase(m_phasesLeft % 2 == 0 ? Phase::Swapped : Phase::Plain);
}

void CHeadingFlash::ShowPhase(Phase phase)
{
    if (m_widget.isNull())
        return;
    if (phase == Phase::Plain)
    {
        // A palette the widget only inherited must stay inherited, or a later change of the
        // window's colours would no longer reach it.
        m_widget->setPalette(m_hadOwnPalette ? m_palette : QPalette());
        m_widget->setAutoFillBackground(m_filledBackground);
        return;
    }
    // An inherited palette is read anew each phase: the colours may switch to night meanwhile.
    const QWidget* parent = m_widget->parentWidget();
    const QPalette base = m_hadOwnPalette || parent == nullptr ? m_palette : parent->palette();
    QPalette palette = base;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    {
        palette.setColor(group, QPalette::Window, base.color(group, QPalette::WindowText));
        palette.setColor(group, QPalette::WindowText, base.color(group, QPalette::Window));
    }
    m_widget->setPalette(palette);
    m_widget->setAutoFillBackground(true);
}
