// A board server for the tests that need one: the built tarvellion-board on
// a loopback port of its own choosing, its log drained. The board's API
// suite and the window test of sending a game start it through here.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A loopback port no one is listening on now.
int free_port();

struct BOARD_SERVER {
    pid_t pid = -1;
    int port = 0;
};

// Starts the server on the database (a file, or a PostgreSQL address), with
// these options besides.
BOARD_SERVER start_board(const std::string &db, std::vector<std::string> options = {});
void stop_board(BOARD_SERVER &board);
