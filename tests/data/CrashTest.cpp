// Programs that are killed while they save must leave a data file that parses and holds every
// save they completed, and two of them saving at once must not lose each other's saves.
#include "data/tDataFile.h"
#include "platform/tProfileCache.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string NameOf(int n) {
    return "Person " + std::to_string(n);
}

// The child saves every second person from first on and reports each completed save on the
// pipe; every few saves it deletes one of its own earlier people, announced as -1 - n first,
// since once the delete has begun the person may be gone.
[[noreturn]] void SaveForever(int reportFd, int first) {
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    for (int n = first;; n += 2) {
        if (data.WriteEntry(n % 12 + 1, n % 28 + 1, NameOf(n), "m00" + std::to_string(n % 10)) &&
            write(reportFd, &n, sizeof n) != sizeof n)
            _exit(2);
        if (const int gone = n - 6; n % 7 == 6 && gone >= first) {
            const int marker = -1 - gone;
            if (write(reportFd, &marker, sizeof marker) != sizeof marker)
                _exit(2);
            data.DeleteEntry(gone % 12 + 1, gone % 28 + 1, NameOf(gone));
        }
    }
}

TEST(CrashTest, TwoWritersKilledWhileSavingLoseNothingReported) {
    TestSupport::tScratch scratch;
    std::mt19937 random(20261206);
    std::set<int> saved;
    int next = 0;
    for (int round = 0; round < 60; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t children[2];
        for (int writer = 0; writer < 2; ++writer) {
            children[writer] = fork();
            ASSERT_GE(children[writer], 0);
            if (children[writer] == 0) {
                close(fds[0]);
                SaveForever(fds[1], next + writer);
            }
        }
        close(fds[1]);
        usleep(std::uniform_int_distribution<int>(0, 40000)(random));
        for (const pid_t child : children) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        int n = 0;
        while (read(fds[0], &n, sizeof n) == sizeof n) {
            if (n >= 0)
                saved.insert(n);
            else
                saved.erase(-1 - n);
            next = std::max(next, (n >= 0 ? n : -1 - n) + 2);
        }
        close(fds[0]);
        next += next % 2; // writer 0 keeps the even numbers, writer 1 the odd ones

        SCOPED_TRACE("round " + std::to_string(round));
        tProfileCache::Instance().Clear();
        tDataFile data;
        data.SetFileName("Cal_Data\\DataFile.txt");
        // The next start clears away what the killed saves left beside the file.
        data.RemoveStaleSaves();
        for (const auto& entry : std::filesystem::directory_iterator("Cal_Data"))
            ASSERT_FALSE(entry.path().filename().string().starts_with(".DataFile.txt."))
                << entry.path();
        for (const int person : saved) {
            bool found = false;
            std::string name, picture;
            for (int i = 0;
                 !found && data.ReadEntry(person % 12 + 1, person % 28 + 1, i, name, picture); ++i)
                found = name == NameOf(person) && picture == "m00" + std::to_string(person % 10);
            ASSERT_TRUE(found) << NameOf(person) << " was reported saved";
        }
    }
    EXPECT_GT(saved.size(), 40u) << "the children should have saved something";
}

} // namespace
