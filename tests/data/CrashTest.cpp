// A process that is killed while it saves must leave a data file that parses and holds every
// save it completed.
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

// The child saves people one after another and reports each completed save on the pipe.
[[noreturn]] void SaveForever(int reportFd, int first) {
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    for (int n = first;; ++n) {
        const int month = n % 12 + 1, day = n % 28 + 1;
        if (data.WriteEntry(month, day, NameOf(n), "m00" + std::to_string(n % 10))) {
            if (write(reportFd, &n, sizeof n) != sizeof n)
                _exit(2);
        }
        // Every few saves, delete one of this run's earlier people, to vary the rewrites.
        if (n % 7 == 6 && n - 3 >= first) {
            // Announced first: once the delete has begun, the person may be gone.
            const int gone = n - 3;
            const int marker = -gone;
            if (write(reportFd, &marker, sizeof marker) != sizeof marker)
                _exit(2);
            data.DeleteEntry(gone % 12 + 1, gone % 28 + 1, NameOf(gone));
        }
    }
}

TEST(CrashTest, KilledWhileSavingLosesNothingReported) {
    TestSupport::tScratch scratch;
    std::mt19937 random(20261206);
    std::set<int> saved;
    int next = 0;
    for (int round = 0; round < 60; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            SaveForever(fds[1], next);
        }
        close(fds[1]);
        usleep(std::uniform_int_distribution<int>(0, 40000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        int n = 0;
        while (read(fds[0], &n, sizeof n) == sizeof n) {
            if (n >= 0)
                saved.insert(n);
            else
                saved.erase(-n);
            next = std::max(next, std::abs(n) + 1);
        }
        close(fds[0]);

        SCOPED_TRACE("round " + std::to_string(round));
        tProfileCache::Instance().Clear();
        tDataFile data;
        data.SetFileName("Cal_Data\\DataFile.txt");
        // The next start clears away what the killed save left beside the file.
        data.RemoveStaleSaves();
        for (const auto& entry : std::filesystem::directory_iterator("Cal_Data"))
            ASSERT_FALSE(entry.path().filename().string().starts_with(".DataFile.txt."))
                << entry.path();
        for (int person : saved) {
            const int month = person % 12 + 1, day = person % 28 + 1;
            bool found = false;
            std::string name, picture;
            for (int i = 0; i < data.CountEntries(month, day) && !found; ++i)
                found = data.ReadEntry(month, day, i, name, picture) && name == NameOf(person) &&
                        picture == "m00" + std::to_string(person % 10);
            ASSERT_TRUE(found) << NameOf(person) << " was reported saved";
        }
    }
    EXPECT_GT(saved.size(), 20u) << "the children should have saved something";
}

// Two programs saving into the same file take turns: no save reported complete is lost.
TEST(CrashTest, TwoWritersLoseNoSaveTheyReported) {
    TestSupport::tScratch scratch;
    constexpr int kSaves = 500;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        children[writer] = fork();
        ASSERT_GE(children[writer], 0);
        if (children[writer] == 0) {
            close(fds[0]);
            tDataFile data;
            data.SetFileName("Cal_Data\\DataFile.txt");
            for (int n = writer; n < 2 * kSaves; n += 2) {
                // Failures are reported as negative numbers; both count as told.
                const int report =
                    data.WriteEntry(n % 12 + 1, n % 28 + 1, NameOf(n), "f001") ? n : -1 - n;
                if (write(fds[1], &report, sizeof report) != sizeof report)
                    _exit(2);
            }
            _exit(0);
        }
    }
    close(fds[1]);
    std::set<int> saved;
    int reports = 0, n = 0;
    while (read(fds[0], &n, sizeof n) == sizeof n) {
        ++reports;
        if (n >= 0)
            saved.insert(n);
    }
    close(fds[0]);
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(reports, 2 * kSaves) << "every save reports complete or failed";
    tProfileCache::Instance().Clear();
    tDataFile data;
    data.SetFileName("Cal_Data\\DataFile.txt");
    int missing = 0;
    for (int person : saved) {
        std::string name, picture;
        bool found = false;
        for (int i = 0; data.ReadEntry(person % 12 + 1, person % 28 + 1, i, name, picture); ++i)
            found = found || name == NameOf(person);
        missing += found ? 0 : 1;
    }
    EXPECT_EQ(missing, 0) << "of " << saved.size() << " saves reported complete";
}

} // namespace
