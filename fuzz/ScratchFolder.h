// A program folder of one topic, "Thema", made once per fuzz program in the temporary
// folder and removed when the program ends normally, and the files the targets write into it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// The program folder, ending with "/". Aborts when it cannot be made: a target without it
// would test nothing.
inline const std::string& ScratchProgramFolder()
{
    struct Folder
    {
        std::string path;
        ~Folder()
        {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
    };
    static const Folder folder = []
    {
        std::string pattern = std::filesystem::temp_directory_path() / "tavrino-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        std::filesystem::create_directory(pattern + "/Thema");
        return Folder{pattern + "/"};
    }();
    return folder.path;
}

inline void WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}
