// Helpers shared by the tests: folder trees on disk, a picture decoder without Qt, the
// dialog on the headless surface, and running the built program.
#pragma once

#include "app/MainDialog.h"
#include "platform/IPictureDecoder.h"
#include "platform/headless/HeadlessSurface.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it.
class CTemporaryFolder
{
public:
    CTemporaryFolder();
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder as the program names folders: absolute, ending with "/".
    Text Folder() const { return m_path.string() + "/"; }
    // Writes `bytes` to the file at `relative`, making the folders on the way.
    std::filesystem::path Write(const std::filesystem::path& relative,
                                std::string_view bytes) const;
    std::filesystem::path MakeFolder(const std::filesystem::path& relative) const;

private:
    std::filesystem::path m_path;
};

// "Decodes" files whose text starts with "PICTURE WxH"; everything else cannot be loaded.
class CFakePictureDecoder final : public IPictureDecoder
{
public:
    PictureHandle Load(const Text& path) override;
    PictureHandle Stretch(const PictureHandle& source, int width, int height) override;
};

// The dialog, created on a headless surface, on a program folder of the test's choosing.
class CDialogHarness
{
public:
    explicit CDialogHarness(Text programFolder, Size screen = {240, 320});

    CHeadlessSurface& Surface() { return m_surface; }
    CMainDialog& Dialog() { return m_dialog; }
    const SharedState& State() const { return m_dialog.State(); }
    Text ControlText(int id) const { return m_surface.GetControlText(id); }
    bool IsShown(int id) const;
    // The ids of all controls that are shown, in ascending order.
    std::vector<int> ShownControls() const;

private:
    CFakePictureDecoder m_decoder;
    CHeadlessSurface m_surface;
    CMainDialog m_dialog;
};

struct ProgramRun
{
    int exitStatus = -1;
    std::string output;
    std::string errors;
};

// Runs the built `tavrino` with the arguments (no shell is involved) and `input` on its
// standard input; waits for it to end.
ProgramRun RunProgram(const std::vector<std::string>& arguments, std::string_view input = {});

// The same with a copy of the program at `program`, as it would be installed elsewhere.
ProgramRun RunProgramFile(const std::filesystem::path& program,
                          const std::vector<std::string>& arguments);

// The same as a user without privileges, so that a folder's permissions hold even when the
// tests run as root (then through setpriv, as user and group 65534).
ProgramRun RunProgramUnprivileged(const std::vector<std::string>& arguments);

// The same with the environment changed: each "NAME=value" sets a variable, a lone "NAME"
// removes it.
ProgramRun RunProgramWithEnvironment(const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& changes);

// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(std::string_view text);
