// The Windows build as a player downloads it: the zip's files, a program that
// needs no DLL beyond Windows' own, with the game's icon and version inside,
// and the README's advice.
#include "wine_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace window_test;

namespace {

namespace fs = std::filesystem;

const std::string RELEASE = "tarvellion-" TARVELLION_VERSION;

std::string command_output(const std::string &command) {
    std::string out;
    if (FILE *pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 4096> chunk;
        std::size_t n;
        while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
            out.append(chunk.data(), n);
        pclose(pipe);
    }
    return out;
}

std::vector<std::string> split(const std::string &text, char separator) {
    std::vector<std::string> items;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, separator);)
        if (!item.empty())
            items.push_back(item);
    return items;
}

std::string lower(std::string s) {
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Bytes read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t u32(const Bytes &b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A resource of the program, as wrestool extracts it.
Bytes resource(const std::string &type, const std::string &name) {
    const std::string text =
        command_output("wrestool --extract --raw --type=" + type + " --name=" + name + " '" +
                       unpacked_game() + "/tarvellion.exe'");
    return Bytes(text.begin(), text.end());
}

// The string as it stands in a version resource: UTF-16, little-endian.
Bytes utf16(const std::string &text) {
    Bytes bytes;
    for (char c : text) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(0);
    }
    return bytes;
}

bool holds(const Bytes &haystack, const Bytes &needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

TEST(WindowsZip, HoldsTheProgramTheGamesDataAReadmeAndTheLicences) {
    const std::string zip = TARVELLION_WINDOWS_ZIP;
    std::set<std::string> listed;
    for (const std::string &entry : split(command_output("cmake -E tar tf '" + zip + "'"), '\n'))
        if (entry.back() != '/')
            listed.insert(entry);
    std::set<std::string> expected{RELEASE + "/tarvellion.exe", RELEASE + "/README.txt",
                                   RELEASE + "/LICENSE.txt", RELEASE + "/allegro-license.txt"};
    for (const std::string &name : split(TARVELLION_GAME_DATA_LIST, ','))
        expected.insert(RELEASE + "/" + name);
    EXPECT_EQ(listed, expected);

    // Each data file as the generator wrote it into data/.
    for (const std::string &name : split(TARVELLION_GAME_DATA_LIST, ',')) {
        SCOPED_TRACE(name);
        EXPECT_EQ(read_file(unpacked_game() + "/" + name),
                  read_file(std::string(TARVELLION_WINDOW_DATA_DIR) + "/" + name));
    }
}

TEST(WindowsZip, ProgramNeedsNoDllBeyondWindowsOwn) {
    const std::string dump =
        command_output("x86_64-w64-mingw32-objdump -p '" + unpacked_game() + "/tarvellion.exe'");
    ASSERT_NE(dump.find("file format pei-x86-64"), std::string::npos) << "not a 64-bit program";
    EXPECT_NE(dump.find("(Windows GUI)"), std::string::npos) << "a console program";
    // What every Windows since 7 has in its system folder: the C runtime, the
    // system's core, the DirectX parts the library uses and the HTTP client.
    const std::set<std::string> system{
        "kernel32.dll", "user32.dll",  "gdi32.dll",  "msvcrt.dll", "ole32.dll",
        "winmm.dll",    "ddraw.dll",   "dsound.dll", "dinput.dll", "advapi32.dll",
        "comdlg32.dll", "shell32.dll", "winhttp.dll"};
    std::vector<std::string> imported;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find("DLL Name: ");
        if (at != std::string::npos)
            imported.push_back(lower(line.substr(at + 10)));
    }
    EXPECT_FALSE(imported.empty()) << "no imports found";
    for (const std::string &dll : imported)
        EXPECT_TRUE(system.count(dll)) << dll << " would have to be shipped beside the program";
}

TEST(WindowsZip, ProgramCarriesTheVersionAndEveryIconSize) {
    const Bytes version = resource("16", "1");
    ASSERT_FALSE(version.empty()) << "no version information";
    // VS_FIXEDFILEINFO, found by its signature, holds the version as numbers.
    const Bytes signature{0xBD, 0x04, 0xEF, 0xFE};
    const auto fixed =
        std::search(version.begin(), version.end(), signature.begin(), signature.end()) -
        version.begin();
    ASSERT_LT(static_cast<std::size_t>(fixed) + 16, version.size());
    const std::vector<std::string> parts = split(TARVELLION_VERSION, '.');
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(u32(version, fixed + 8), (std::stoul(parts[0]) << 16) | std::stoul(parts[1]));
    EXPECT_EQ(u32(version, fixed + 12), std::stoul(parts[2]) << 16);
    EXPECT_TRUE(holds(version, utf16(TARVELLION_VERSION)));
    EXPECT_TRUE(holds(version, utf16("Tarvellion")));

    // The icon group the library gives its window, one entry per drawn size
    // (a width of 0 stands for 256).
    const Bytes group = resource("14", "ALLEGRO_ICON");
    ASSERT_GE(group.size(), 6u) << "no icon named allegro_icon (wrestool lists it in capitals)";
    const std::size_t count = group[4] | group[5] << 8;
    ASSERT_EQ(group.size(), 6 + 14 * count);
    std::set<int> sizes;
    for (std::size_t i = 0; i < count; i++) {
        const int width = group[6 + 14 * i] ? group[6 + 14 * i] : 256;
        const int height = group[7 + 14 * i] ? group[7 + 14 * i] : 256;
        EXPECT_EQ(width, height);
        sizes.insert(width);
    }
    std::set<int> drawn;
    for (const std::string &size : split(TARVELLION_ICON_SIZE_LIST, ','))
        drawn.insert(std::stoi(size));
    EXPECT_EQ(sizes, drawn);
}

TEST(WindowsZip, ReadmeTellsWhereThePlayersFilesGo) {
    const Bytes bytes = read_file(unpacked_game() + "/README.txt");
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("%APPDATA%\\Tarvellion"), std::string::npos);
    EXPECT_NE(text.find("portable.txt"), std::string::npos);
    EXPECT_NE(text.find("Tarvellion " TARVELLION_VERSION), std::string::npos);
    // Every line ends in CR LF, as Windows' own editors expect.
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "a bare LF at byte " << at;
}

} // namespace
