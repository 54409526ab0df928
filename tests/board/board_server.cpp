// Starting and stopping the board server for a test (board_server.h).
#include "board_server.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

int free_port() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr *>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr *>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

BOARD_SERVER start_board(const std::string &db, std::vector<std::string> options) {
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    BOARD_SERVER board;
    board.pid = fork();
    if (board.pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        options.insert(options.begin(), {BOARD_PROGRAM, "--db", db, "--listen", "127.0.0.1:0"});
        std::vector<char *> argv;
        for (std::string &option : options)
            argv.push_back(option.data());
        argv.push_back(nullptr);
        execv(BOARD_PROGRAM, argv.data());
        _exit(127);
    }
    close(out[1]);
    FILE *log = fdopen(out[0], "r");
    char line[128] = "";
    if (std::fgets(line, sizeof line, log))
        std::sscanf(line, "listening on 127.0.0.1:%d", &board.port);
    // The log goes on in the pipe; a thread drains it so the server never waits.
    std::thread([log] {
        char rest[256];
        while (std::fgets(rest, sizeof rest, log))
            continue;
        std::fclose(log);
    }).detach();
    EXPECT_GT(board.port, 0) << "the board did not start on " << db;
    return board;
}

void stop_board(BOARD_SERVER &board) {
    if (board.pid > 0) {
        kill(board.pid, SIGTERM);
        waitpid(board.pid, nullptr, 0);
    }
    board.pid = -1;
}
