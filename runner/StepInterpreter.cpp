#include "runner/StepInterpreter.h"

#include "app/DialogTexts.h"
#include "app/MainDialog.h"
#include "app/Screens.h"
#include "platform/ControlId.h"
#include "platform/NamedFile.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/ListLine.h"

namespace
{
constexpr int PictureWidth = 200;
constexpr int PictureHeight = 260;

// The line without its trailing marker (";", "?" or ",", all ASCII).
std::string_view WithoutLast(std::string_view line)
{
    return line.substr(0, line.size() - 1);
}
} // namespace

CStepInterpreter::CStepInterpreter(const DialogParts& parts)
    : m_surface(parts.surface), m_state(parts.state), m_store(parts.store), m_dialog(parts.dialog)
{
}

void CStepInterpreter::LoadList(const Text& path)
{
    for (const int id : ControlId::MenuButtons)
        m_surface.ShowControl(id, Visibility::Hidden);
    EnterScreen(m_state, Screen::Step);
    // Targets of a question in another list mean nothing in this one.
    m_state.g_yesTarget = 0;
    m_state.g_noTarget = 0;
    m_store.Clear();

    CReadOnlyFile file;
    if (!file.Open(path))
    {
        m_surface.SetControlText(ControlId::Heading, path);
        m_surface.SetControlText(ControlId::SubHeading, DialogText::CannotOpen);
    }
    else
    {
        m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
        m_store.AppendLines(ReadFileText(file));
        file.Close();
    }
    RunSteps();
}

void CStepInterpreter::RunSteps()
{
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Shown);
    LabelControl(m_surface, ControlId::RightButton, DialogText::Next, Visibility::Shown);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);

    if (m_state.g_currentLine < m_store.Count())
    {
        Pass pass;
        pass.storeGeneration = m_store.Generation();
        // The first line of a pass counts as stored; every later one trimmed of spaces.
        Text line = m_store.GetText(m_state.g_currentLine);
        for (;;)
        {
            const PassFlow flow = CarryOut(line, pass);
            if (flow == PassFlow::Abort)
                return;
            if (flow == PassFlow::Stop)
                break;
            // The count is asked afresh: a text file may have replaced the store.
            if (m_state.g_currentLine < m_store.Count())
            {
                ++m_state.g_currentLine;
                if (m_state.g_currentLine < m_store.Count())
                    line = TrimSpaces(m_store.GetText(m_state.g_currentLine));
            }
            if (m_state.g_currentLine >= m_store.Count())
                break;
        }
        m_state.g_bodyText = pass.text;
        m_surface.SetControlText(ControlId::BodyText, pass.text);
    }
    if (m_state.g_currentLine == m_store.Count())
        ShowEndScreen();
}

CStepInterpreter::PassFlow CStepInterpreter::CarryOut(const Text& line, Pass& pass)
{
    switch (ClassifyLine(line))
    {
    case LineKind::Blank:
    case LineKind::Label:
        return PassFlow::Continue;
    case LineKind::TextFile:
        return LoadTextFile(line, pass);
    case LineKind::Heading:
        m_state.g_headingText = line.substr(1);
        m_surface.SetControlText(ControlId::Heading, m_state.g_headingText);
        return PassFlow::Continue;
    case LineKind::SubHeading:
        m_state.g_subHeadingText = line.substr(1);
        m_surface.SetControlText(ControlId::SubHeading, m_state.g_subHeadingText);
        return PassFlow::Continue;
    case LineKind::StopwatchStart:
        m_dialog.StartStopwatch(line);
        return PassFlow::Continue;
    case LineKind::StopwatchCheck:
    {
        Text warning;
        if (!m_dialog.CheckStopwatch(warning))
            return PassFlow::Continue;
        pass.text = std::move(warning);
        // The warning is a step of its own: its buttons act as they read, whatever
        // screen the pass began after.
        EnterScreen(m_state, Screen::Step);
        return PassFlow::Stop;
    }
    case LineKind::Picture:
        return ShowPicture(line);
    case LineKind::Jump:
        return Jump(line, pass);
    case LineKind::StepEnd:
        return EndStep(line, pass);
    case LineKind::Question:
        return AskQuestion(line, pass);
    case LineKind::TextWithComma:
        pass.text.append(WithoutLast(line));
        pass.text += '\n';
        return PassFlow::Continue;
    case LineKind::Text:
        pass.text += line;
        pass.text += '\n';
        return PassFlow::Continue;
    }
    return PassFlow::Continue;
}

CStepInterpreter::PassFlow CStepInterpreter::Jump(const Text& line, Pass& pass)
{
    if (line == "@")
    {
        m_state.g_currentLine = m_store.Count();
        return PassFlow::Continue;
    }
    const auto target = m_labels.FindLabelLine(m_store, TrimSpaces(line.substr(1)));
    if (!target)
        return AbortList(DialogText::YesLabelMissing);
    // Nothing that a pass does between two arrivals at one label can make it stop the second
    // time round: the pass would run for ever.
    if (pass.storeGeneration != m_store.Generation())
    {
        pass.jumpTargets.clear();
        pass.storeGeneration = m_store.Generation();
    }
    if (!pass.jumpTargets.insert(*target).second)
        return AbortList(DialogText::EndlessLoop);
    m_state.g_currentLine = *target;
    return PassFlow::Continue;
}

CStepInterpreter::PassFlow CStepInterpreter::LoadTextFile(const Text& line, Pass& pass)
{
    const NamedFile named = FindNamedFile(m_state.g_appFolder, m_state.g_listFolder,
                                          TrimSpaces(WithoutFirstCharacter(line)));
    CReadOnlyFile file;
    if (!named.foundPath || !file.Open(*named.foundPath))
    {
        m_surface.SetControlText(ControlId::SubHeading, named.shownPath);
        m_surface.ShowMessageBox(DialogText::TextFileMissing);
        m_state.g_currentLine = m_store.Count();
        return PassFlow::Continue;
    }
    // A file loaded twice in one pass starts the same lines over again.
    if (!pass.loadedFiles.insert(file.Identity()).second)
        return AbortList(DialogText::EndlessLoop);
    m_state.g_backBlocked = false;
    m_state.g_stepCounter = 0;
    m_state.g_yesTarget = 0;
    m_state.g_noTarget = 0;
    m_store.Clear();
    m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
    m_store.AppendLines(ReadFileText(file));
    file.Close();
    // The next line read is line 0 of the new store, trimmed like every later line.
    m_state.g_currentLine = -1;
    return PassFlow::Continue;
}

PictureHandle CStepInterpreter::ScalePicture(const PictureHandle& picture, int width, int height)
{
    return m_surface.StretchPicture(picture, width, height);
}

PictureHandle CStepInterpreter::LoadStepPicture(const Text& name)
{
    return LoadStepPicture(FindNamedFile(m_state.g_appFolder, m_state.g_listFolder, name));
}

PictureHandle CStepInterpreter::LoadStepPicture(const NamedFile& named)
{
    if (!named.foundPath)
        return nullptr;
    PictureHandle picture = m_surface.LoadPicture(*named.foundPath);
    // A picture with either side of the screen's size is shown as it is.
    if (picture && picture->Width() != PictureWidth && picture->Height() != PictureHeight)
        picture = ScalePicture(picture, PictureWidth, PictureHeight);
    return picture;
}

CStepInterpreter::PassFlow CStepInterpreter::ShowPicture(const Text& line)
{
    const Text name = TrimSpaces(line.substr(1));
    m_state.g_picturePath = name;
    if (name.empty())
    {
        m_surface.ShowMessageBox(DialogText::PictureNameMissing);
        return PassFlow::Continue;
    }
    const NamedFile named = FindNamedFile(m_state.g_appFolder, m_state.g_listFolder, name);
    PictureHandle picture = LoadStepPicture(named);
    if (!picture)
    {
        m_surface.ShowMessageBox(DialogText::PictureUnloadable + named.shownPath);
        return PassFlow::Continue;
    }
    m_surface.SetControlPicture(ControlId::Picture, std::move(picture));
    m_surface.ShowControl(ControlId::Picture, Visibility::Shown);
    m_surface.ShowControl(ControlId::Heading, Visibility::Hidden);
    m_surface.ShowControl(ControlId::SubHeading, Visibility::Hidden);
    m_surface.ShowControl(ControlId::BodyText, Visibility::Hidden);
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Hidden);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    m_surface.ShowControl(ControlId::RightButton, Visibility::Hidden);
    EnterScreen(m_state, Screen::Picture);
    return PassFlow::Stop;
}

CStepInterpreter::PassFlow CStepInterpreter::EndStep(const Text& line, Pass& pass)
{
    // The counter is looked at before this step adds to it: the first step shows no "Zurück".
    if (!m_state.g_backBlocked && m_state.g_stepCounter >= 2)
        LabelControl(m_surface, ControlId::CentreButton, DialogText::Back, Visibility::Shown);
    else
        m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    ++m_state.g_stepCounter;
    pass.text.append(WithoutLast(line));
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Shown);
    LabelControl(m_surface, ControlId::RightButton, DialogText::Next, Visibility::Shown);
    EnterScreen(m_state, Screen::Step);
    return PassFlow::Stop;
}

CStepInterpreter::PassFlow CStepInterpreter::AskQuestion(const Text& line, Pass& pass)
{
    pass.text += line;
    m_state.g_bodyText = pass.text;
    ++m_state.g_currentLine;
    EnterScreen(m_state, Screen::Question);
    m_state.g_backBlocked = true;
    ++m_state.g_stepCounter;
    LabelControl(m_surface, ControlId::LeftButton,
                 m_state.g_stepCounter > 1 ? DialogText::ToStart : DialogText::End,
                 Visibility::Shown);
    LabelControl(m_surface, ControlId::CentreButton, DialogText::No, Visibility::Shown);
    LabelControl(m_surface, ControlId::RightButton, DialogText::Yes, Visibility::Shown);

    if (m_state.g_currentLine < m_store.Count())
    {
        if (!ResolveTargets(TrimSpaces(m_store.GetText(m_state.g_currentLine))))
            return PassFlow::Abort;
    }
    else
    {
        m_surface.ShowMessageBox(DialogText::QuestionInLastLine);
        m_state.g_currentLine = 0;
        // With no targets of its own, either answer starts the list again.
        m_state.g_yesTarget = 0;
        m_state.g_noTarget = 0;
    }
    return PassFlow::Stop;
}

bool CStepInterpreter::ResolveTargets(const Text& targets)
{
    // The NEIN label stands first, the JA label after the first "/".
    const auto slash = targets.find('/');
    if (slash == Text::npos)
    {
        AbortList(DialogText::TargetsWithoutSlash);
        return false;
    }
    const auto no = m_labels.FindLabelLine(m_store, TrimSpaces(targets.substr(0, slash)));
    if (!no)
    {
        AbortList(DialogText::NoLabelMissing);
        return false;
    }
    m_state.g_noTarget = *no + 1;
    const auto yes = m_labels.FindLabelLine(m_store, TrimSpaces(targets.substr(slash + 1)));
    if (!yes)
    {
        AbortList(DialogText::YesLabelMissing);
        return false;
    }
    m_state.g_yesTarget = *yes + 1;
    return true;
}

void CStepInterpreter::ShowEndScreen()
{
    m_surface.SetControlText(ControlId::BodyText, DialogText::ListDone);
    m_surface.SetControlText(ControlId::RightButton, DialogText::End);
    m_surface.ShowControl(ControlId::LeftButton, Visibility::Hidden);
    LabelControl(m_surface, ControlId::CentreButton, DialogText::Back,
                 m_state.g_backBlocked ? Visibility::Hidden : Visibility::Shown);
    EnterScreen(m_state, Screen::End);
}

CStepInterpreter::PassFlow CStepInterpreter::AbortList(const char* message)
{
    m_surface.ShowMessageBox(message);
    m_dialog.CancelStopwatch();
    m_dialog.ReturnToSubMenu();
    return PassFlow::Abort;
}
