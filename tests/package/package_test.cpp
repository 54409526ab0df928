// The Debian packages as a player and a board's host get them, from build-deb/ where
// `make deb` leaves them. The game's package:
// its files against those the install rules should put there, its fields, its desktop
// entry and metadata as the desktops read them, and the game played from a scratch
// root the package is unpacked into, as dpkg would install it but without touching the
// system. The game must find its data where the package put it, keep the player's
// files in the player's own XDG directory and write nothing anywhere else. The board's
// package: the server, its systemd unit and its manual page.
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace window_test;

namespace {

namespace fs = std::filesystem;

const std::string APP_ID = TARVELLION_APP_ID;
const std::string PLAYER_HOME = "home/player";

std::vector<std::string> split(const std::string &list, char separator) {
    std::vector<std::string> items;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, separator);)
        items.push_back(item);
    return items;
}

struct CommandResult {
    int status;
    std::string out; // standard output and error together
};

CommandResult run_command(const std::string &command) {
    CommandResult result{-1, ""};
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        result.out.append(chunk, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The package unpacked into a scratch root; removed at the end unless a test failed.
struct UnpackedPackage {
    explicit UnpackedPackage(const std::string &deb = TARVELLION_DEB) {
        if (!fs::is_regular_file(deb))
            throw std::runtime_error("no package at " + deb + "; run make deb");
        char dir[] = "/tmp/tarvellion-root-XXXXXX";
        if (!mkdtemp(dir))
            throw std::runtime_error("cannot make a scratch root");
        root = dir;
        const CommandResult unpack =
            run_command("dpkg-deb -x '" + deb + "' '" + root.string() + "'");
        if (unpack.status != 0)
            throw std::runtime_error("dpkg-deb -x failed: " + unpack.out);
    }
    ~UnpackedPackage() {
        if (::testing::Test::HasFailure()) {
            std::fprintf(stderr, "unpacked package kept in %s\n", root.c_str());
            return;
        }
        std::error_code error;
        fs::remove_all(root, error);
    }
    UnpackedPackage(const UnpackedPackage &) = delete;
    UnpackedPackage &operator=(const UnpackedPackage &) = delete;

    fs::path root;
};

// Every file and link below the root, as paths relative to it.
std::set<std::string> files_below(const fs::path &root) {
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory() || entry.is_symlink())
            files.insert(fs::relative(entry.path(), root).string());
    return files;
}

std::set<std::string> expected_files() {
    std::set<std::string> files = {"usr/games/tarvellion",
                                   "usr/share/applications/" + APP_ID + ".desktop",
                                   "usr/share/metainfo/" + APP_ID + ".metainfo.xml",
                                   "usr/share/man/man6/tarvellion.6.gz",
                                   "usr/share/doc/tarvellion/copyright",
                                   "usr/share/doc/tarvellion/changelog.gz"};
    for (const std::string &name : split(TARVELLION_GAME_DATA_LIST, ','))
        files.insert("usr/share/tarvellion/" + name);
    for (const std::string &size : split(TARVELLION_ICON_SIZE_LIST, ','))
        files.insert("usr/share/icons/hicolor/" + size + "x" + size + "/apps/tarvellion.png");
    return files;
}

std::string difference(const std::set<std::string> &a, const std::set<std::string> &b) {
    std::string listed;
    for (const std::string &name : a)
        if (!b.count(name))
            listed += " " + name;
    return listed.empty() ? " none" : listed;
}

std::string field(const std::string &name, const std::string &deb = TARVELLION_DEB) {
    const CommandResult result = run_command("dpkg-deb -f '" + deb + "' " + name);
    return result.status == 0 ? result.out : "(no " + name + ")";
}

TEST(Package, HoldsTheGameItsDataAndItsDesktopFilesAndNothingElse) {
    const UnpackedPackage package;
    const std::set<std::string> found = files_below(package.root);
    const std::set<std::string> expected = expected_files();
    EXPECT_EQ(found, expected) << "missing:" << difference(expected, found)
                               << "\nnot expected:" << difference(found, expected);
}

// The version is the project's in all three places; the libraries the game links are
// found by the package's dependencies, not a hand-kept list.
TEST(Package, CarriesTheGamesVersionAndDependsOnTheLibrariesItLinks) {
    const UnpackedPackage package;
    const std::string version = field("Version");
    EXPECT_EQ(version, TARVELLION_VERSION "\n");
    const CommandResult program =
        run_command("'" + (package.root / "usr/games/tarvellion").string() + "' --version");
    EXPECT_EQ(program.status, 0);
    EXPECT_EQ(program.out, "Tarvellion " + version);
    const std::string depends = field("Depends");
    for (const char *library : {"liballegro4.4", "libx11-6", "libc6", "libcurl4"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
}

TEST(Package, DesktopEntryAndMetadataValidate) {
    const UnpackedPackage package;
    const CommandResult desktop = run_command(
        "desktop-file-validate '" +
        (package.root / ("usr/share/applications/" + APP_ID + ".desktop")).string() + "'");
    EXPECT_EQ(desktop.status, 0);
    EXPECT_EQ(desktop.out, "") << "desktop-file-validate said something";
    // Infos and pedantic remarks pass; a warning makes appstreamcli fail.
    const CommandResult metadata =
        run_command("appstreamcli validate-tree --no-net '" + package.root.string() + "'");
    EXPECT_EQ(metadata.status, 0) << metadata.out;
    EXPECT_NE(metadata.out.find(APP_ID + ".metainfo.xml"), std::string::npos)
        << "appstreamcli found no metadata:\n"
        << metadata.out;
}

// The unit runs the server as a user made at each start, with its database in
// its state folder; the manual page tells every option --help names; systemd is
// not needed to install it.
TEST(BoardPackage, HoldsTheServerItsUnitAndItsManualPage) {
    const UnpackedPackage package(TARVELLION_BOARD_DEB);
    const std::string unit_path = "lib/systemd/system/tarvellion-board.service";
    const std::string page_path = "usr/share/man/man8/tarvellion-board.8.gz";
    EXPECT_EQ(files_below(package.root),
              (std::set<std::string>{"usr/bin/tarvellion-board", unit_path, page_path,
                                     "usr/share/doc/tarvellion-board/copyright",
                                     "usr/share/doc/tarvellion-board/changelog.gz"}));
    std::ifstream unit_file(package.root / unit_path);
    const std::string unit{std::istreambuf_iterator<char>(unit_file), {}};
    for (const char *line : {"\nExecStart=/usr/bin/tarvellion-board --db "
                             "/var/lib/tarvellion-board/board.sqlite --listen 127.0.0.1:8081\n",
                             "\nDynamicUser=yes\n", "\nStateDirectory=tarvellion-board\n"})
        EXPECT_NE(unit.find(line), std::string::npos) << line;
    const CommandResult help =
        run_command("'" + (package.root / "usr/bin/tarvellion-board").string() + "' --help");
    EXPECT_EQ(help.status, 0);
    const CommandResult page =
        run_command("LC_ALL=C MANWIDTH=200 man -l '" + (package.root / page_path).string() + "'");
    std::stringstream words(help.out);
    for (std::string word; words >> word;)
        if (word.rfind("--", 0) == 0) {
            EXPECT_NE(page.out.find(word), std::string::npos) << word << " in the manual page";
        }
    EXPECT_EQ(field("Depends", TARVELLION_BOARD_DEB).find("systemd"), std::string::npos);
}

// A player who has never played: no XDG_DATA_HOME, a HOME of their own inside the
// root, the game started from another directory.
TEST(PackagedGame, PlaysFromWhereThePackagePutItAndLeavesNothingBehind) {
    std::set<std::string> left_behind;
    fs::path root;
    {
        const UnpackedPackage package;
        root = package.root;
        const std::set<std::string> packaged = files_below(root);
        const fs::path home = root / PLAYER_HOME;
        fs::create_directories(home);

        GameOptions options;
        options.program = (root / "usr/games/tarvellion").string();
        options.data = false;
        options.home = home.string();
        options.environment = {{"XDG_DATA_HOME", ""}};
        GameRun run(options);
        run.wait_for_window();
        start_game(run);
        run.hold_key("Right", 300);
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

        const fs::path save = home / ".local/share/tarvellion/save.dat";
        ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(save)));
        EXPECT_EQ(fs::file_size(save), SAVE_FILE_SIZE);
        // The harness keeps the game's output in the directory it starts the game in.
        for (const std::string &name : files_below(run.directory()))
            if (name != "stdout.txt" && name != "stderr.txt")
                left_behind.insert("(where it was started) " + name);
        const std::string player_files = PLAYER_HOME + "/.local/share/tarvellion/";
        for (const std::string &name : files_below(root))
            if (!packaged.count(name) && name.rfind(player_files, 0) != 0)
                left_behind.insert(name);
        EXPECT_EQ(left_behind, std::set<std::string>{}) << "written outside the player's files";
    }
    EXPECT_FALSE(fs::exists(root)) << "the scratch root is still there";
}

} // namespace
