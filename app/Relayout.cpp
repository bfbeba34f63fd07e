#include "app/Relayout.h"

#include "app/DialogTexts.h"
#include "app/EndScreen.h"
#include "app/Screens.h"
#include "app/StartScreen.h"
#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/TemplateCursor.h"

CRelayout::CRelayout(const DialogParts& parts, IMenuNavigation& menu, IListRunner& runner)
    : m_surface(parts.surface), m_state(parts.state), m_menu(menu), m_runner(runner)
{
}

void CRelayout::OnSizeChanged()
{
    // A square screen counts as landscape.
    const Size screen = m_surface.GetScreenSize();
    const int templateId = screen.width >= screen.height ? ResourceId::LandscapeTemplate
                                                         : ResourceId::PortraitTemplate;
    ApplyTemplateLayout(FindResource(ResourceType::Dialog, templateId));
    RedrawScreen();
}

bool CRelayout::ApplyTemplateLayout(std::span<const std::uint8_t> templateBytes)
{
    // The batch is sized by the item count, which lies behind style and extended style.
    CTemplateCursor peek(templateBytes);
    std::optional<std::uint16_t> itemCount;
    if (peek.Skip(8))
        itemCount = peek.ReadUInt16();
    if (!itemCount || !m_surface.BeginDeferredMoves(*itemCount))
        return false;

    bool result = true;
    CTemplateCursor cursor(templateBytes);
    std::uint16_t announced = 0;
    bool whole = ReadTemplateHeader(cursor, announced).has_value();
    int unnamedItems = 0;
    for (std::uint16_t item = 0; whole && item < announced; ++item)
    {
        const auto read = ReadTemplateItem(cursor, templateBytes);
        if (!read)
        {
            whole = false;
            break;
        }
        // An item that names no control, or whose place cannot be converted, would be met
        // again by every later round: the rest of the template is not applied.
        if (!m_surface.HasControl(read->id))
        {
            result = false;
            break;
        }
        const auto pixels = m_surface.MapDialogRect({read->x, read->y, read->width, read->height});
        if (!pixels)
        {
            result = false;
            break;
        }
        if (!m_surface.DeferControlMove(read->id, *pixels))
            result = false;
        RestoreControlContent(read->style, read->id, read->windowClass, read->title);
        if (read->id == 0xFFFF)
            ++unnamedItems;
    }
    if (!m_surface.EndDeferredMoves())
        result = false;
    // Controls of the same id cannot be told apart.
    return result && whole && unnamedItems < 2;
}

void CRelayout::RestoreControlContent(std::uint32_t style, std::uint16_t id,
                                      const TemplateField& windowClass, const TemplateField& title)
{
    if (!windowClass.isNumber)
        return;
    if (windowClass.number != TemplateClass::Button && windowClass.number != TemplateClass::Static)
        return; // list and combo boxes keep their selection; other classes hold nothing
    if (!title.isNumber)
    {
        m_surface.SetControlText(id, title.text);
        return;
    }
    if ((style & TemplateStyle::StaticIcon) == TemplateStyle::StaticIcon)
        m_surface.SetControlImageResource(id, ImageResourceKind::Icon, title.number);
    else if ((style & TemplateStyle::StaticBitmap) == TemplateStyle::StaticBitmap)
        m_surface.SetControlImageResource(id, ImageResourceKind::Bitmap, title.number);
}

void CRelayout::RedrawScreen()
{
    using namespace ControlId;
    if (m_state.g_viewMode == ViewMode::MainMenu)
    {
        m_menu.ShowMainMenuPage();
        return;
    }
    if (m_state.g_viewMode == ViewMode::SubMenu)
    {
        m_menu.ShowSubMenuPage();
        return;
    }
    const auto show = [this](int id, bool shown)
    { m_surface.ShowControl(id, shown ? Visibility::Shown : Visibility::Hidden); };
    const auto label = [this](int id, const char* text, bool shown)
    { LabelControl(m_surface, id, text, shown ? Visibility::Shown : Visibility::Hidden); };
    const bool backOffered = !m_state.g_backBlocked;
    switch (m_state.g_screenState)
    {
    case ScreenState::Step:
        m_surface.SetControlText(Heading, m_state.g_headingText);
        m_surface.SetControlText(SubHeading, m_state.g_subHeadingText);
        m_surface.SetControlText(BodyText, m_state.g_bodyText);
        label(LeftButton, DialogText::Abort, true);
        label(RightButton, DialogText::Next, true);
        if (backOffered)
            label(CentreButton, DialogText::Back, true);
        else
            show(CentreButton, false);
        break;
    case ScreenState::Question:
        m_surface.SetControlText(Heading, m_state.g_headingText);
        m_surface.SetControlText(SubHeading, m_state.g_subHeadingText);
        m_surface.SetControlText(BodyText, m_state.g_bodyText);
        label(LeftButton, DialogText::Abort, true);
        label(RightButton, DialogText::Yes, true);
        label(CentreButton, DialogText::No, true);
        break;
    case ScreenState::Picture:
        show(Heading, false);
        show(SubHeading, false);
        show(BodyText, false);
        show(Picture, true);
        label(LeftButton, DialogText::Abort, false);
        label(RightButton, DialogText::Next, true);
        label(CentreButton, DialogText::Back, backOffered);
        ReloadPicture();
        break;
    case ScreenState::End:
        ShowEndScreen(m_surface, m_state);
        break;
    case ScreenState::Start:
        ShowStartScreen(m_surface);
        break;
    }
}

void CRelayout::ReloadPicture()
{
    // A picture that no longer loads leaves the one shown, without a second message.
    if (PictureHandle picture = m_runner.LoadStepPicture(m_state.g_picturePath))
        m_surface.SetControlPicture(ControlId::Picture, std::move(picture));
}
