// Writing a whole buffer, for every system's replace_file().
#include "platform.h"

#include <cerrno>

int write_all(int fd, const void *bytes, std::size_t size) {
    const auto *at = static_cast<const unsigned char *>(bytes);
    std::size_t written = 0;
    while (written < size) {
        const long n = write_call(fd, at + written, size - written);
        if (n > 0)
            written += static_cast<std::size_t>(n);
        else if (n == 0)
            return EIO; // a disk that takes nothing would be asked forever
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}
