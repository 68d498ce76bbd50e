#pragma once
// Random user sessions for the whole program on the in-memory toolkit: actions drawn from a source
// of numbers (a seeded generator, or a fuzzer's bytes), applied one at a time, with the program's
// invariants checked after each.

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fontarel::soak {

// Numbers for the generator: next(n) is in 0..n-1 (0 when n is 0).
class Source {
  public:
    virtual ~Source() = default;
    virtual uint64_t next(uint64_t n) = 0;
    int between(int low, int high) { // inclusive
        return low + static_cast<int>(next(static_cast<uint64_t>(int64_t{high} - low) + 1));
    }
    bool chance(int percent) { return next(100) < static_cast<uint64_t>(percent); }
};

class SeededSource : public Source {
  public:
    explicit SeededSource(uint64_t seed) : random_(seed) {}
    uint64_t next(uint64_t n) override { return n == 0 ? 0 : random_() % n; }

  private:
    std::mt19937_64 random_;
};

// Takes numbers from a byte string; past its end every number is 0.
class ByteSource : public Source {
  public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t next(uint64_t n) override;
    bool exhausted() const { return at_ >= size_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Draws from another source and keeps the bytes from which a ByteSource makes the same draws, so a
// seeded sequence can become an input of the fuzzer.
class RecordingSource : public Source {
  public:
    explicit RecordingSource(Source& from) : from_(from) {}
    uint64_t next(uint64_t n) override;
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    Source& from_;
    std::vector<uint8_t> bytes_;
};

// One thing a user does, with what the requesters, the colour chooser and the popups will answer
// while it is handled.
struct Action {
    enum class Kind {
        Menu,
        Canvas,
        Click,
        Key,
        Control,
        Drop,
        Close,
        Combination,
        Code,
        Escape,
        Failures
    };
    Kind kind = Kind::Menu;
    int a = 0, b = 0, c = 0, d = 0, e = 0;          // meaning by kind; see describe()
    std::string text;                               // drop list
    std::vector<std::pair<std::string, int>> files; // requester answers: path, pattern entry
    std::vector<int> colours;                       // colour chooser answers (-1 cancels)
    std::vector<int> popups;                        // popup answers (-1 closes)
    std::vector<std::string> texts;                 // text requester answers ("" cancels)
};

std::string describe(const Action& action);

// Paths in actions that start with this name a file in the sandbox's work folder, so the same
// actions replay in any sandbox.
inline constexpr const char* kInWork = "@/";

// A folder of its own for one session: `root` holds only `work`, where the program's working
// directory, its files to open and every answer of the save requester lie. While it lives, `work`
// is the process's current folder.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    const std::string& root() const { return root_; }
    const std::string& work() const { return work_; }
    // Paths inside work to open: fonts and maps of several lengths, an empty file, a folder, a
    // missing path, odd names, a link to a folder, a FIFO, a large sparse file.
    const std::vector<std::string>& inputs() const { return inputs_; }
    // The text with every path that starts with kInWork made absolute in this sandbox.
    std::string resolve(std::string text) const;
    // Empty when nothing but `work` lies in the root, else what else does.
    std::string written_outside() const;

  private:
    std::string root_, work_, previous_folder_;
    std::vector<std::string> inputs_;
};

Action next_action(Source& source, const Sandbox& sandbox);

// A program on the in-memory toolkit, started afresh in the sandbox.
class Session {
  public:
    explicit Session(const Sandbox& sandbox);
    ~Session();
    // Applies one action and handles every event it queued. False when the program ended (Quit,
    // the main window's close box, Escape).
    bool apply(const Action& action);
    // Empty when every invariant holds, else what is wrong.
    std::string check() const;
    // Undoes every step there is; empty when that gives back the charset and the map as they were
    // at start-up, else what differs.
    std::string undo_to_start();
    // Events handled, message boxes shown, steps undone and file requesters opened so far.
    long events() const;
    long messages() const;
    long undone() const;
    long file_requests() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Runs actions in sessions of at most `session_length` actions (a new program after each, and
// after the program ends), checking the invariants after each action and the undo at the end of
// each session. Returns the index of the first failing action and what failed, or -1.
struct Failure {
    long index = -1;
    std::string what;
    // What the run went through, for the report of a passing run.
    long events = 0, messages = 0, sessions = 0, undone = 0, file_requests = 0;
};
Failure run(const std::vector<Action>& actions, const Sandbox& sandbox, int session_length);

} // namespace fontarel::soak
