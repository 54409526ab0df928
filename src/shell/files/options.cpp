// Reading and writing "options.ini"; start-up reads it (main.cpp), the display
// and sound keys write it when the player changes a preference.
#include "options.h"

#include "bindings.h"

#include "player_files.h"
#include "../../platform/platform.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

GAME_OPTIONS options;
const char *const DEFAULT_BOARD = TARVELLION_DEFAULT_BOARD;

namespace {

// Far more than the game ever writes; anything longer is not its file.
constexpr std::size_t MAX_FILE_SIZE = 64 * 1024;

std::vector<std::string> unknown_lines;

std::string trimmed(const std::string &s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A whole decimal number within low .. high, nothing else on the line.
bool parse_number(const std::string &text, int low, int high, int &value) {
    if (text.empty() || text.size() > 6)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    const int n = std::atoi(text.c_str());
    if (n < low || n > high)
        return false;
    value = n;
    return true;
}

bool is_name(const std::string &text) {
    if (text.size() > static_cast<std::size_t>(PLAYER_NAME_MAX))
        return false;
    for (char c : text)
        if (c < ' ' || c > '~')
            return false;
    return true;
}

// An address the game can send to: http or https, or a path on the page's
// own site; printable, no blanks.
bool is_board_address(const std::string &text) {
    if (text.size() > static_cast<std::size_t>(BOARD_ADDRESS_MAX))
        return false;
    for (char c : text)
        if (c <= ' ' || c > '~')
            return false;
    return text.empty() || text.rfind("http://", 0) == 0 || text.rfind("https://", 0) == 0 ||
           text[0] == '.' || text[0] == '/';
}

// Takes one `name = value` line; false if the name is not an option's.
bool take_option(const std::string &name, const std::string &value) {
    if (name == "scale")
        parse_number(value, 0, MAX_SCALE, options.scale);
    else if (name == "fullscreen")
        parse_number(value, 0, 1, options.fullscreen);
    else if (name == "mute")
        parse_number(value, 0, 1, options.mute);
    else if (name == "attract")
        parse_number(value, 0, 1, options.attract);
    else if (name == "music_volume")
        parse_number(value, 0, MAX_VOLUME, options.music_volume);
    else if (name == "effects_volume")
        parse_number(value, 0, MAX_VOLUME, options.effects_volume);
    else if (name == "send_games")
        parse_number(value, 0, 1, options.send_games);
    else if (name == "board") {
        if (is_board_address(value))
            std::snprintf(options.board, sizeof options.board, "%s", value.c_str());
    } else if (name == "name") {
        if (is_name(value))
            std::snprintf(options.name, sizeof options.name, "%s", value.c_str());
    } else
        return take_binding_option(name, value);
    return true;
}

bool is_text(const std::string &s) {
    for (unsigned char c : s)
        if (c == '\0' || (c < ' ' && c != '\n' && c != '\r' && c != '\t'))
            return false;
    return true;
}

bool options_kept = true;

// The defaults hold from the start, before any file is read.
const bool options_at_defaults = (reset_options(), true);

} // namespace

void reset_options() {
    options.scale = 0;
    options.fullscreen = -1;
    options.mute = 0;
    options.attract = 1;
    options.name[0] = '\0';
    std::snprintf(options.board, sizeof options.board, "%s", DEFAULT_BOARD);
    options.send_games = -1;
    options.music_volume = MAX_VOLUME;
    options.effects_volume = MAX_VOLUME;
    reset_bindings();
    unknown_lines.clear();
}

void read_options(const char *path) {
    reset_options();
    FILE *file = open_regular_file(path);
    if (!file)
        return; // never changed a preference yet
    std::string text;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() <= MAX_FILE_SIZE)
        text.append(chunk, n);
    std::fclose(file);
    if (text.size() > MAX_FILE_SIZE || !is_text(text))
        return;

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const auto equals = line.find('=');
        const bool known =
            equals != std::string::npos &&
            take_option(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
        if (!known)
            unknown_lines.push_back(line);
    }
}

int write_options(const char *path) {
    std::string text;
    for (const std::string &line : unknown_lines)
        text += line + "\n";
    char line[64];
    std::snprintf(line, sizeof line, "scale = %d\n", options.scale);
    text += line;
    if (options.fullscreen >= 0) {
        std::snprintf(line, sizeof line, "fullscreen = %d\n", options.fullscreen);
        text += line;
    }
    std::snprintf(line, sizeof line, "mute = %d\n", options.mute);
    text += line;
    std::snprintf(line, sizeof line, "attract = %d\n", options.attract);
    text += line;
    std::snprintf(line, sizeof line, "music_volume = %d\neffects_volume = %d\n",
                  options.music_volume, options.effects_volume);
    text += line;
    text += binding_option_lines();
    if (options.name[0])
        text += std::string("name = ") + options.name + "\n";
    // The build's own board is not written, so that a newer build's holds.
    if (std::strcmp(options.board, DEFAULT_BOARD) != 0)
        text += std::string("board = ") + options.board + "\n";
    if (options.send_games >= 0)
        text += "send_games = " + std::to_string(options.send_games) + "\n";
    return replace_file(path, text.data(), text.size());
}

void keep_options() {
    if (options_kept)
        write_options(player_path("options.ini").c_str());
}

void keep_changed_options(bool on) {
    options_kept = on;
}
