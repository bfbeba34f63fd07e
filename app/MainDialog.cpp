#include "app/MainDialog.h"

#include "app/DialogTexts.h"
#include "app/Screens.h"
#include "app/StartScreen.h"
#include "platform/ControlId.h"
#include "platform/ProgramFile.h"
#include "platform/Resources.h"

#include <array>

namespace
{
struct MessageMapEntry
{
    MessageKind kind;
    int controlId; // 0 for messages of the dialog itself
    void (CMainDialog::*handler)();
};

// The dialog's dispatch: which handler takes which message.
constexpr std::array MessageMap{
    MessageMapEntry{MessageKind::SizeChanged, 0, &CMainDialog::OnSizeChanged},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton0, &CMainDialog::OnMenuButton0},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton1, &CMainDialog::OnMenuButton1},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton2, &CMainDialog::OnMenuButton2},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton3, &CMainDialog::OnMenuButton3},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton4, &CMainDialog::OnMenuButton4},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton5, &CMainDialog::OnMenuButton5},
    MessageMapEntry{MessageKind::Click, ControlId::CentreButton, &CMainDialog::OnCentreButton},
    MessageMapEntry{MessageKind::Click, ControlId::LeftButton, &CMainDialog::OnLeftButton},
    MessageMapEntry{MessageKind::Click, ControlId::RightButton, &CMainDialog::OnRightButton},
    MessageMapEntry{MessageKind::Click, ControlId::Picture, &CMainDialog::OnPictureTap},
    MessageMapEntry{MessageKind::Timer, 0, &CMainDialog::OnStopwatchTick},
    MessageMapEntry{MessageKind::Close, 0, &CMainDialog::OnOk},
};
} // namespace

CMainDialog::CMainDialog(IDialogSurface& surface, Text programFolder)
    : m_surface(surface), m_programFolderOverride(std::move(programFolder)),
      m_programIcon(surface.LoadIcon(ResourceId::ProgramIcon)),
      m_stopwatch(DialogParts{surface, m_state, m_lineStore}),
      // The runner leaves a broken list by the menu, which is built after it: a call, not a
      // reference, so that nothing refers to the menu before it exists.
      m_runner(DialogParts{surface, m_state, m_lineStore}, m_stopwatch,
               [this] { m_menu.ReturnToSubMenu(); }),
      m_menu(DialogParts{surface, m_state, m_lineStore}, m_runner),
      m_navigation(DialogParts{surface, m_state, m_lineStore}, m_menu, m_runner, m_stopwatch),
      m_relayout(DialogParts{surface, m_state, m_lineStore}, m_menu, m_runner)
{
}

bool CMainDialog::Create()
{
    return m_surface.CreateFromTemplate(
        FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate), *this);
}

void CMainDialog::OnMessage(const DialogMessage& message)
{
    for (const auto& entry : MessageMap)
    {
        // The timer message carries no control; the dialog owns one timer only, so every
        // tick counts whatever its id.
        const bool fromControl = message.kind == MessageKind::Click;
        if (entry.kind == message.kind && (!fromControl || entry.controlId == message.controlId))
        {
            (this->*entry.handler)();
            return;
        }
    }
}

bool CMainDialog::OnDialogInit()
{
    m_surface.SetUpFullScreen();
    m_surface.SetIcon(IconSize::Big, m_programIcon);
    m_surface.SetIcon(IconSize::Small, m_programIcon);
    m_state.g_appFolder =
        m_programFolderOverride.empty() ? FolderOfPath(ProgramFilePath()) : m_programFolderOverride;
    m_state.g_started = false;
    EnterScreen(m_state, Screen::Start);
    ShowStartScreen();
    return true;
}

void CMainDialog::ShowStartScreen()
{
    ::ShowStartScreen(m_surface);
}

// The closing of the dialog by the done button in its caption: nothing is saved.
void CMainDialog::OnOk()
{
    m_surface.EndDialog(DialogResult::Ok);
}

void CMainDialog::OnMenuButton(std::int32_t index)
{
    m_state.g_pressedButton = index;
    m_menu.OnMenuButton();
}

void CMainDialog::OnMenuButton0()
{
    OnMenuButton(0);
}

void CMainDialog::OnMenuButton1()
{
    OnMenuButton(1);
}

void CMainDialog::OnMenuButton2()
{
    OnMenuButton(2);
}

void CMainDialog::OnMenuButton3()
{
    OnMenuButton(3);
}

void CMainDialog::OnMenuButton4()
{
    OnMenuButton(4);
}

void CMainDialog::OnMenuButton5()
{
    OnMenuButton(5);
}

void CMainDialog::OnCentreButton()
{
    m_navigation.OnCentreButton();
}

void CMainDialog::OnLeftButton()
{
    m_navigation.OnLeftButton();
}

void CMainDialog::OnRightButton()
{
    m_navigation.OnRightButton();
}

void CMainDialog::OnPictureTap()
{
    m_navigation.OnPictureTap();
}

void CMainDialog::OnStopwatchTick()
{
    m_stopwatch.OnStopwatchTick();
}

void CMainDialog::OnSizeChanged()
{
    m_relayout.OnSizeChanged();
}
