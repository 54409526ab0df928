// The test run's Wine prefix and the unpacked Windows game, as
// prepare-wine-run.sh left them in TARVELLION_WINE_RUN_DIR.
#include "wine_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace window_test {

namespace {

namespace fs = std::filesystem;

const std::string RUN_DIR = TARVELLION_WINE_RUN_DIR;

std::string first_line(const std::string &path) {
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || line.empty())
        throw std::runtime_error(path + " is missing: the fixture prepare-wine-run.sh has not run");
    return line;
}

} // namespace

std::string unpacked_game() {
    return RUN_DIR + "/game";
}

std::string portable_game() {
    return RUN_DIR + "/Игры Tarvellion";
}

std::string appdata_dir() {
    static const std::string dir = first_line(RUN_DIR + "/appdata.txt");
    return dir;
}

std::vector<std::pair<std::string, std::string>> wine_environment() {
    std::vector<std::pair<std::string, std::string>> environment;
    std::ifstream in(RUN_DIR + "/environment");
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            environment.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    if (environment.empty())
        throw std::runtime_error(RUN_DIR + "/environment is missing: the fixture has not run");
    return environment;
}

GameOptions windows_game(const std::vector<std::string> &arguments) {
    GameOptions options;
    options.program = "wine";
    options.arguments = {"tarvellion.exe"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.data_dir = unpacked_game();
    options.player_dir = appdata_dir();
    options.window_class = "tarvellion.exe";
    options.environment = wine_environment();
    for (const auto &[name, value] : options.environment)
        if (name == "HOME")
            options.home = value;
    fs::create_directories(options.player_dir);
    return options;
}

int run_in_prefix(const std::vector<std::string> &argv) {
    const auto environment = wine_environment();
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        for (const auto &[name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void fresh_session() {
    run_in_prefix({"wineserver", "-k"});
    run_in_prefix({"wineserver", "-w"});
    std::error_code error;
    fs::remove_all(appdata_dir(), error);
    for (const char *name : {"save.dat", "setting.ini", "options.ini"})
        fs::remove(portable_game() + "/" + name, error);
}

} // namespace window_test
