// The fuzzer's entry: its input bytes become a sequence of user actions on the whole program, run
// on the in-memory toolkit with every invariant checked after each action; a broken invariant
// aborts, so the fuzzer keeps the input.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../soak/soak_events.h"

using namespace fontarel::soak;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kMostActions =
        100;         // keeps an input to a fraction of a second under the sanitizers
    Sandbox sandbox; // fresh for every input, so each one replays the same way
    ByteSource source(data, size);
    std::vector<Action> actions;
    while (!source.exhausted() && actions.size() < kMostActions)
        actions.push_back(next_action(source, sandbox));
    const Failure failure = run(actions, sandbox, static_cast<int>(kMostActions));
    if (failure.index >= 0) {
        std::fprintf(stderr, "action %ld failed: %s\n", failure.index, failure.what.c_str());
        for (long i = 0; i <= failure.index; ++i)
            std::fprintf(stderr, "  %s\n", describe(actions[static_cast<size_t>(i)]).c_str());
        std::abort();
    }
    return 0;
}
