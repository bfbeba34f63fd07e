// Without libFuzzer: runs one fuzz target over its corpus and over lists made by a fixed
// random walk, so that every test run tries a few thousand odd inputs on each target. A
// target that finds a fault aborts, and the test fails.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{
// Pieces that lists are made of, good and bad, glued at random.
const char* const Pieces[] = {
    "A;",
    "Frage?",
    "n/j",
    "%n",
    "%j",
    "@n",
    "@j",
    "@",
    "$Kopf",
    "!Teil",
    "*b.png",
    "*",
    "\xA7t.txt",
    "\xA7",
    ":5 Uhr",
    ":0",
    ":",
    "::",
    "Text",
    "Text,",
    "  $x",
    " %n",
    "/",
    "%",
    "#;",
    "",
    "\x01\xFF\x81",
    "\xC3\xA4",
    "\xEF\xBB\xBF",
    "n/fehlt",
    "..\\..\\x",
    "\xA7..\\t.txt",
};
const char* const LineEnds[] = {"\r\n", "\n", "\r", "", "\0"};
} // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i)
    {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
        {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++runs;
        }
    }
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round)
    {
        std::string input;
        for (int i = 0; i < 24; ++i)
            input += static_cast<char>(random() % 256);
        const int lines = static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i)
        {
            input += Pieces[random() % std::size(Pieces)];
            const char* end = LineEnds[random() % std::size(LineEnds)];
            input.append(end, end[0] == '\0' && end == LineEnds[4]
                                  ? 1
                                  : std::char_traits<char>::length(end));
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ++runs;
    }
    std::cout << runs << " inputs run\n";
    return 0;
}
