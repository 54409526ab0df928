// Cases the fuzz targets and the soak found, kept as regular tests: files and
// game states at the edges of what the game can produce or be handed.
#include "../headless.h"

#include "core/level_setup.h"
#include "shell/files/save_file.h"
#include "core/game_state.h"

#include <cstdint>
#include <string>
#include <unistd.h>

namespace {

class HostileInput : public Headless {
  protected:
    void SetUp() override {
        Headless::SetUp();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        start_dir = here;
        work_dir = ::testing::TempDir() + "hostile-XXXXXX";
        ASSERT_NE(mkdtemp(work_dir.data()), nullptr);
        ASSERT_EQ(chdir(work_dir.c_str()), 0);
    }

    void TearDown() override {
        unlink(SAVE_FILE_NAME);
        EXPECT_EQ(chdir(start_dir.c_str()), 0);
        rmdir(work_dir.c_str());
        Headless::TearDown();
    }

    std::string start_dir, work_dir;
};

// The Home and End keys take the lives anywhere, also while the menu pauses
// the game; a save the game wrote must still be taken up by Continue.
TEST_F(HostileInput, SaveWithAnyLivesTheKeysCanReachLoadsBack) {
    for (int32_t lives : {1000001, INT32_MAX, -1001, INT32_MIN}) {
        reset_records();
        game_initdata();
        unit.score = 4321;
        player.live = lives;
        game_save();
        reset_records();
        game_load();
        EXPECT_EQ(player.live, lives);
        EXPECT_EQ(unit.score, 4321) << "lives " << lives << " made Continue start a new game";
    }
}

} // namespace
