#include "store/FileIo.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace quorvel::store {
namespace {

// Every byte of a large write reaches a pipe that is read slowly on the other side while a timer
// signal keeps interrupting the blocked write, so the kernel takes the bytes in pieces and some
// calls end in EINTR.
TEST(WriteAll, DeliversEveryByteThroughInterruptedWrites) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    std::string bytes(std::size_t{4} << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 31 % 251);
    }
    std::string received;
    std::thread reader([&received, in = ends[0]] {
        sigset_t alarm;
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &alarm, nullptr); // the signal goes to the writing thread
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            received.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(in);
    });

    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) {};
    sigemptyset(&interrupt.sa_mask);
    interrupt.sa_flags = 0; // no SA_RESTART: a blocked write returns early
    struct sigaction previous {};
    ::sigaction(SIGALRM, &interrupt, &previous);
    const itimerval often{{0, 200}, {0, 200}};
    ::setitimer(ITIMER_REAL, &often, nullptr);

    const bool written = WriteAll(ends[1], bytes);

    const itimerval off{};
    ::setitimer(ITIMER_REAL, &off, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    ::close(ends[1]);
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received.size(), bytes.size());
    EXPECT_TRUE(received == bytes);
}

TEST(WriteAll, FailsOnADescriptorThatTakesNoWrites) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_FALSE(WriteAll(ends[0], "bytes")); // the read end
    EXPECT_FALSE(WriteAll(-1, "bytes"));
    EXPECT_TRUE(WriteAll(-1, "")); // nothing to write asks nothing of the descriptor
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace
} // namespace quorvel::store
