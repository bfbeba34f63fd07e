// A fresh folder under the system's temporary folder for a benchmark's files, removed with
// everything in it when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class CBenchFolder
{
public:
    CBenchFolder()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "tavrino-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_folder = pattern + "/";
    }
    ~CBenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

    // The folder, ending with "/".
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};
