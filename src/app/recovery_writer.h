#pragma once
// The thread that writes the recovery file, so that the event loop only hands over what changed
// (pieces shared with the data, never copied whole) and a stroke is not slowed by the writing.
// Jobs are done in the order handed over; a base makes the jobs not yet started needless, and
// they are dropped. A failed write turns recovery off for good, with one line on stderr.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "formats/recovery_journal.h"
#include "toolkit/locked_file.h"

namespace fontarel {

struct RecoveryJob {
    std::optional<Project> base; // the file begins again with this project as its base
    RecoveryEntry entry;         // else: appended to the journal
    // With a base: files deleted once the base is written (the work recovered from them).
    std::vector<std::string> delete_after;
};

class RecoveryWriter {
  public:
    // `write_limit`: bytes the disk takes before writing fails, -1 for no limit.
    RecoveryWriter(std::string folder, std::string own_file, int64_t write_limit);
    ~RecoveryWriter(); // finishes the jobs handed over, then closes the file (its lock goes)
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void hand_over(RecoveryJob job);
    // Returns once every job handed over is done.
    void wait_idle();
    bool failed() const { return failed_; }
    // The journal has grown past the base (or past the level and tiles in binary, when they are
    // larger): a new base now costs no more than the entries written since.
    bool wants_base() const { return wants_base_; }

  private:
    void run();
    void write_base(RecoveryJob& job);
    void append(const RecoveryEntry& entry);
    void give_up(const std::string& why);

    const std::string folder_, own_file_;
    const int64_t write_limit_;
    std::unique_ptr<LockedFile> file_; // this run's file, locked while it is open
    int64_t base_bytes_ = 0, journal_bytes_ = 0;
    int64_t raw_bytes_ = 0; // the level and tiles of the base in binary
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<RecoveryJob> jobs_;
    bool busy_ = false, stop_ = false;
    std::atomic<bool> failed_{false}, wants_base_{false};
    std::thread thread_;
};

} // namespace fontarel
