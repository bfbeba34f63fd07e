#include "app/MainDialog.h"

#include "app/DialogTexts.h"
#include "app/Screens.h"
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
      m_menu(DialogParts{surface, m_state, m_lineStore, *this}),
      m_runner(DialogParts{surface, m_state, m_lineStore, *this}),
      m_navigation(DialogParts{surface, m_state, m_lineStore, *this}),
      m_stopwatch(DialogParts{surface, m_state, m_lineStore, *this}),
      m_relayout(DialogParts{surface, m_state, m_lineStore, *this})
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
    m_surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    m_surface.SetControlText(ControlId::Heading, DialogText::Title);
    m_surface.SetControlText(ControlId::SubHeading, DialogText::ByLine);
    m_surface.SetControlText(ControlId::BodyText, DialogText::StartNotice);
    m_surface.ShowControl(ControlId::Heading, Visibility::Shown);
    m_surface.ShowControl(ControlId::SubHeading, Visibility::Shown);
    m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
    m_surface.SetControlText(ControlId::CentreButton, DialogText::Start);
    m_surface.ShowControl(ControlId::LeftButton, Visibility::Hidden);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Shown);
    m_surface.ShowControl(ControlId::RightButton, Visibility::Hidden);
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
