// The installed game: this build installed into a scratch prefix as `cmake --install`
// does it, started by a player with a fresh HOME from a directory of their own, a game
// played and ended. The game must find its data and music where they were installed,
// and read the settings from and write the save to the player's own directory.
#include "audio_capture.h"
#include "menu_screen.h"
#include "real_window.h"
#include "shell/files/save_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

using namespace window_test;

namespace {

namespace fs = std::filesystem;

// A scratch folder, removed again at the end.
struct ScratchDir {
    ScratchDir() {
        char dir[] = "/tmp/tarvellion-prefix-XXXXXX";
        if (!mkdtemp(dir))
            throw std::runtime_error("cannot make a scratch folder");
        path = dir;
    }
    ~ScratchDir() {
        std::error_code error;
        fs::remove_all(path, error);
    }
    std::string path;
};

// The game lives in the build's top folder; the install rules are that build's.
int install_into(const std::string &prefix) {
    const std::string build = fs::path(TARVELLION_GAME_PATH).parent_path();
    const std::string command = "cmake --install '" + build +
                                "' --component tarvellion --prefix '" + prefix + "' > '" + prefix +
                                "/install.log' 2>&1";
    return std::system(command.c_str());
}

TEST(InstalledGame, ReadsItsDataWhereInstalledAndKeepsThePlayersFilesInTheirOwnDirectory) {
    ScratchDir prefix;
    ASSERT_EQ(install_into(prefix.path), 0) << "see " << prefix.path << "/install.log";
    const std::string data = prefix.path + "/share/tarvellion";
    for (const std::string installed :
         {"/bin/tarvellion", "/share/applications/org.tarvellion.Tarvellion.desktop",
          "/share/metainfo/org.tarvellion.Tarvellion.metainfo.xml",
          "/share/icons/hicolor/64x64/apps/tarvellion.png", "/share/man/man6/tarvellion.6",
          "/share/tarvellion/allegro.cfg", "/share/tarvellion/default.cfg",
          "/share/tarvellion/town.dat"})
        EXPECT_TRUE(fs::is_regular_file(prefix.path + installed)) << installed << " not installed";
    EXPECT_FALSE(fs::exists(data + "/save.dat") || fs::exists(data + "/setting.ini"))
        << "a player's file was installed as data";

    struct Case {
        const char *name;
        std::string xdg_data_home; // empty: unset
        std::string player_dir_under_home;
        int window_width; // from a setting.ini put in the player's directory, if not 640
    };
    for (const Case &c : {Case{"no XDG_DATA_HOME", "", "/.local/share/tarvellion", 640},
                          Case{"XDG_DATA_HOME set", "xdg", "/xdg/tarvellion", 800}}) {
        SCOPED_TRACE(c.name);
        AudioCapture capture;
        const std::string player_dir = capture.home() + c.player_dir_under_home;
        if (c.window_width != 640) {
            fs::create_directories(player_dir);
            std::ofstream(player_dir + "/setting.ini") << "1 30 5 5 10 32 2 800 600";
        }
        GameOptions options;
        options.program = prefix.path + "/bin/tarvellion";
        options.data = false;
        options.home = capture.home();
        options.environment = {{"XDG_DATA_HOME", c.xdg_data_home.empty()
                                                     ? ""
                                                     : capture.home() + "/" + c.xdg_data_home}};
        GameRun run(options);
        run.wait_for_window();
        EXPECT_EQ(run.window_size().first, c.window_width);
        start_game(run);
        const long started = capture.size();
        run.hold_key("Right", 300);
        const double music = rms_dbfs(capture.mono(started, capture.size()));
        const ExitStatus status = end_game(run);
        ASSERT_TRUE(status.exited && status.code == 0) << to_string(status);

        const fs::path save = player_dir + "/save.dat";
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(save)));
        EXPECT_EQ(fs::exists(save) ? fs::file_size(save) : 0, SAVE_FILE_SIZE);
        EXPECT_FALSE(fs::exists(player_dir + "/allegro.cfg")) << "data in the player's directory";
        EXPECT_FALSE(fs::exists(run.directory() + "/save.dat")) << "saved where it was started";
        EXPECT_GT(music, -55.0) << "no music: the patch set was not found with the data";
    }
}

} // namespace
