// The random-event soak: a seeded stream of user actions on the whole program, the invariants
// checked after every one. On a failure (a broken invariant or a crash) it prints the seed and the
// shortest sequence of actions it can find that still fails.
//
//   fontarel_soak [--seed N] [--events N] [--session N]
//   fontarel_soak --corpus DIR [--seed N]   writes seeded sequences as inputs of the fuzzer

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "soak_events.h"

using namespace fontarel::soak;

namespace {

// Whether the actions fail, run in a child process so that a crash counts as a failure too.
bool fails(const std::vector<Action>& actions, int session_length) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        [[maybe_unused]] FILE* quiet = std::freopen("/dev/null", "w", stderr);
        bool failed = false;
        {
            Sandbox sandbox;
            failed = run(actions, sandbox, session_length).index >= 0;
        }
        std::exit(failed ? 1 : 0); // exit, not _Exit: the leak checker runs at exit
    }
    int status = 0;
    waitpid(child, &status, 0);
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Drops ever smaller chunks of actions while the rest still fails.
std::vector<Action> shortest_failing(std::vector<Action> actions, int session_length) {
    for (size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (size_t start = 0; start < actions.size();) {
            std::vector<Action> shorter(actions.begin(), actions.begin() + start);
            const size_t end = std::min(actions.size(), start + chunk);
            shorter.insert(shorter.end(), actions.begin() + end, actions.end());
            if (!shorter.empty() && fails(shorter, session_length))
                actions = std::move(shorter);
            else
                start += chunk;
        }
    }
    return actions;
}

} // namespace

int main(int argc, char** argv) {
    uint64_t seed = 1;
    long events = 20000;
    int session_length = 1000;
    std::string corpus;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seed")
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (option == "--events")
            events = std::strtol(argv[i + 1], nullptr, 10);
        else if (option == "--session")
            session_length = std::atoi(argv[i + 1]);
        else if (option == "--corpus")
            corpus = argv[i + 1];
    }
    if (!corpus.empty()) {
        Sandbox sandbox;
        for (int file = 0; file < 8; ++file) {
            SeededSource seeded(seed + static_cast<uint64_t>(file));
            RecordingSource recording(seeded);
            for (int i = 0; i < 20 + 40 * file; ++i)
                next_action(recording, sandbox);
            std::ofstream out(corpus + "/seed-" + std::to_string(file), std::ios::binary);
            out.write(reinterpret_cast<const char*>(recording.bytes().data()),
                      static_cast<std::streamsize>(recording.bytes().size()));
        }
        return 0;
    }
    // The actions are made in the parent, so every child replays the same ones.
    Sandbox sandbox;
    SeededSource source(seed);
    const long batch = 10000; // actions made and run at a time, to bound memory for long soaks
    for (long done = 0; done < events; done += batch) {
        std::vector<Action> actions;
        for (long i = done; i < std::min(events, done + batch); ++i)
            actions.push_back(next_action(source, sandbox));
        bool crashed = false;
        {
            std::fflush(nullptr);
            const pid_t child = fork();
            if (child == 0) {
                int code = 0;
                {
                    Sandbox own;
                    const Failure f = run(actions, own, session_length);
                    if (f.index >= 0) {
                        std::printf("action %ld failed: %s\n", done + f.index, f.what.c_str());
                        code = 1;
                    } else {
                        std::printf("actions %ld-%ld: %ld events, %ld sessions, %ld message "
                                    "boxes, %ld file requesters, %ld steps undone\n",
                                    done, done + static_cast<long>(actions.size()) - 1, f.events,
                                    f.sessions, f.messages, f.file_requests, f.undone);
                    }
                }
                std::fflush(nullptr);
                std::exit(code); // exit, not _Exit: the leak checker runs at exit
            }
            int status = 0;
            waitpid(child, &status, 0);
            crashed = !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        if (!crashed)
            continue;
        std::printf("soak failed: seed %llu, in actions %ld to %ld\n",
                    static_cast<unsigned long long>(seed), done, done + batch - 1);
        const std::vector<Action> shortest = shortest_failing(actions, session_length);
        std::printf("shortest failing sequence (%zu actions; @/ is the sandbox folder"
                    "):\n",
                    shortest.size());
        for (const Action& a : shortest)
            std::printf("  %s\n", describe(a).c_str());
        return 1;
    }
    std::printf("soak passed: seed %llu, %ld actions\n", static_cast<unsigned long long>(seed),
                events);
    return 0;
}
