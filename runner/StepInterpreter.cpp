#include "runner/StepInterpreter.h"

#include "app/DialogTexts.h"
#include "app/EndScreen.h"
#include "app/Screens.h"
#include "platform/ControlId.h"
#include "platform/NamedFile.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"

#include <algorithm>

namespace
{
constexpr int PictureWidth = 200;
constexpr int PictureHeight = 260;
} // namespace

CStepInterpreter::CStepInterpreter(const DialogParts& parts, IStopwatch& stopwatch,
                                   std::function<void()> returnToSubMenu)
    : m_surface(parts.surface), m_state(parts.state), m_store(parts.store), m_stopwatch(stopwatch),
      m_returnToSubMenu(std::move(returnToSubMenu))
{
}

void CStepInterpreter::LoadList(const Text& path)
{
    m_listStart = {m_surface.GetControlText(ControlId::Heading),
                   m_surface.GetControlText(ControlId::SubHeading), m_state.g_headingText,
                   m_state.g_subHeadingText};
    m_listFiles = {path};
    m_journey.Restart();
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
        AppendFileLines(file, m_store);
        file.Close();
    }
    RunSteps();
}

void CStepInterpreter::RestartList()
{
    if (m_listFiles.empty())
        return;
    m_state.g_headingText = m_listStart.headingText;
    m_state.g_subHeadingText = m_listStart.subHeadingText;
    m_surface.SetControlText(ControlId::Heading, m_listStart.heading);
    m_surface.SetControlText(ControlId::SubHeading, m_listStart.subHeading);
    m_state.g_backBlocked = false;
    m_state.g_currentLine = 0;
    m_state.g_stepCounter = 0;
    // Copied: loading puts the list's name in its place again.
    const Text path = m_listFiles.front();
    LoadList(path);
}

void CStepInterpreter::RunSteps()
{
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Shown);
    LabelControl(m_surface, ControlId::RightButton, DialogText::Next, Visibility::Shown);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);

    if (m_state.g_currentLine < m_store.Count())
    {
        const PassResult pass = RunPass(m_store, m_state.g_currentLine, m_labels, *this, *this);
        m_textFile.reset();
        m_state.g_currentLine = pass.line;
        switch (pass.end)
        {
        case PassEnd::StepEnd:
            EndStep();
            break;
        case PassEnd::Question:
            if (!AskQuestion(pass))
                return;
            break;
        case PassEnd::Picture:
            ShowPicture();
            break;
        case PassEnd::Warning:
            // The warning is a step of its own: its buttons act as they read, whatever
            // screen the pass began after.
            EnterScreen(m_state, Screen::Step);
            break;
        case PassEnd::ListEnd:
            break;
        case PassEnd::Fault:
            AbortList(pass.fault);
            return;
        }
        m_state.g_bodyText = pass.text;
        m_surface.SetControlText(ControlId::BodyText, pass.text);
    }
    if (m_state.g_currentLine == m_store.Count())
        ShowEndScreen(m_surface, m_state);
}

void CStepInterpreter::SetHeading(const Text& heading)
{
    m_state.g_headingText = heading;
    m_surface.SetControlText(ControlId::Heading, m_state.g_headingText);
}

void CStepInterpreter::SetSubHeading(const Text& subHeading)
{
    m_state.g_subHeadingText = subHeading;
    m_surface.SetControlText(ControlId::SubHeading, m_state.g_subHeadingText);
}

void CStepInterpreter::StartStopwatch(const Text& start)
{
    m_stopwatch.StartStopwatch(start);
}

std::optional<Text> CStepInterpreter::CheckStopwatch()
{
    Text warning;
    if (!m_stopwatch.CheckStopwatch(warning))
        return std::nullopt;
    return warning;
}

std::optional<FileIdentity> CStepInterpreter::OpenTextFile(const Text& name)
{
    const NamedFile named = FindNamedFile(m_state.g_appFolder, m_state.g_listFolder, name);
    m_textFile.emplace();
    if (!named.foundPath || !m_textFile->Open(*named.foundPath))
    {
        m_textFile.reset();
        m_surface.SetControlText(ControlId::SubHeading, named.shownPath);
        m_surface.ShowMessageBox(DialogText::TextFileMissing);
        return std::nullopt;
    }
    if (std::find(m_listFiles.begin(), m_listFiles.end(), *named.foundPath) == m_listFiles.end())
        m_listFiles.push_back(*named.foundPath);
    return m_textFile->Identity();
}

void CStepInterpreter::LoadOpenedTextFile()
{
    m_state.g_backBlocked = false;
    m_state.g_stepCounter = 0;
    m_state.g_yesTarget = 0;
    m_state.g_noTarget = 0;
    m_store.Clear();
    m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
    AppendFileLines(*m_textFile, m_store);
    m_textFile.reset();
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

bool CStepInterpreter::PreparePicture(const Text& name)
{
    m_state.g_picturePath = name;
    if (name.empty())
    {
        m_surface.ShowMessageBox(DialogText::PictureNameMissing);
        return false;
    }
    const NamedFile named = FindNamedFile(m_state.g_appFolder, m_state.g_listFolder, name);
    m_picture = LoadStepPicture(named);
    if (!m_picture)
    {
        m_surface.ShowMessageBox(DialogText::PictureUnloadable + named.shownPath);
        return false;
    }
    return true;
}

void CStepInterpreter::ShowPicture()
{
    m_surface.SetControlPicture(ControlId::Picture, std::move(m_picture));
    m_picture = nullptr;
    m_surface.ShowControl(ControlId::Picture, Visibility::Shown);
    m_surface.ShowControl(ControlId::Heading, Visibility::Hidden);
    m_surface.ShowControl(ControlId::SubHeading, Visibility::Hidden);
    m_surface.ShowControl(ControlId::BodyText, Visibility::Hidden);
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Hidden);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    m_surface.ShowControl(ControlId::RightButton, Visibility::Hidden);
    EnterScreen(m_state, Screen::Picture);
}

void CStepInterpreter::EndStep()
{
    // The counter is looked at before this step adds to it: the first step shows no "Zurück".
    if (!m_state.g_backBlocked && m_state.g_stepCounter >= 2)
        LabelControl(m_surface, ControlId::CentreButton, DialogText::Back, Visibility::Shown);
    else
        m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    ++m_state.g_stepCounter;
    LabelControl(m_surface, ControlId::LeftButton, DialogText::Abort, Visibility::Shown);
    LabelControl(m_surface, ControlId::RightButton, DialogText::Next, Visibility::Shown);
    EnterScreen(m_state, Screen::Step);
}

bool CStepInterpreter::AskQuestion(const PassResult& pass)
{
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

    const AnswerTargets& targets = pass.targets;
    switch (targets.problem)
    {
    case AnswerTargets::Problem::InLastLine:
        m_surface.ShowMessageBox(DialogText::QuestionInLastLine);
        m_state.g_currentLine = 0;
        // With no targets of its own, either answer starts the list again.
        m_state.g_yesTarget = 0;
        m_state.g_noTarget = 0;
        return true;
    case AnswerTargets::Problem::WithoutSlash:
        AbortList(DialogText::TargetsWithoutSlash);
        return false;
    case AnswerTargets::Problem::NoLabelMissing:
        AbortList(DialogText::NoLabelMissing);
        return false;
    case AnswerTargets::Problem::YesLabelMissing:
        m_state.g_noTarget = *targets.noLabel + 1;
        AbortList(DialogText::YesLabelMissing);
        return false;
    case AnswerTargets::Problem::None:
        break;
    }
    m_state.g_noTarget = *targets.noLabel + 1;
    m_state.g_yesTarget = *targets.yesLabel + 1;
    return true;
}

void CStepInterpreter::AbortList(const char* message)
{
    m_surface.ShowMessageBox(message);
    m_stopwatch.CancelStopwatch();
    m_returnToSubMenu();
}
