#include "app/recovery_writer.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/file_io.h"

namespace fontarel {

RecoveryWriter::RecoveryWriter(std::string folder, std::string own_file, int64_t write_limit)
    : folder_(std::move(folder)), own_file_(std::move(own_file)), write_limit_(write_limit),
      thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void RecoveryWriter::hand_over(RecoveryJob job) {
    {
        std::lock_guard lock(mutex_);
        if (job.base) {
            // The base holds what they would have written; the files they were to delete go with it.
            for (RecoveryJob& dropped : jobs_)
                for (std::string& f : dropped.delete_after)
                    job.delete_after.push_back(std::move(f));
            jobs_.clear();
        }
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void RecoveryWriter::wait_idle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void RecoveryWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !jobs_.empty() || stop_; });
        if (jobs_.empty())
            return; // stopped with nothing left to write
        RecoveryJob job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        if (!failed_) {
            if (job.base)
                write_base(job);
            else
                append(job.entry);
        }
        job = {}; // the pieces it shared are let go here, not under the lock
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void RecoveryWriter::write_base(RecoveryJob& job) {
    if (!make_folders(folder_)) {
        give_up("cannot make the folder " + folder_);
        return;
    }
    // A new file, locked before it takes the old one's place, so that the file under this run's
    // name is always locked and always whole: the old one until the rename, the new one after.
    auto file = std::make_unique<LockedFile>(write_limit_);
    const std::string fresh = own_file_ + ".new";
    int64_t written = 0;
    const ByteSink sink = [&file](std::span<const uint8_t> bytes) { return file->append(bytes); };
    const bool ok =
        file->create(fresh) &&
        file->append({reinterpret_cast<const uint8_t*>(kRecoveryMagic), kRecoveryMagicBytes}) &&
        write_recovery_entry(base_entry(*job.base), sink, written) && file->rename_to(own_file_);
    // Replaying costs about what the level and tiles weigh in binary, as does rewriting the base,
    // so the journal may grow to that (or to the file's base, if larger) before a new base pays.
    raw_bytes_ = static_cast<int64_t>(job.base->level.block_count()) * 2 * Level::kBlockSide *
                     Level::kBlockSide +
                 static_cast<int64_t>(job.base->tiles.count()) * 2 * kMaxTileSide * kMaxTileSide;
    job.base.reset();
    if (!ok) {
        file->close();
        fontarel::delete_file(fresh);
        give_up("cannot write " + own_file_);
        return;
    }
    file_ = std::move(file); // the old file, unlinked by the rename, is closed here
    base_bytes_ = file_->size();
    journal_bytes_ = 0;
    wants_base_ = false;
    for (const std::string& done : job.delete_after)
        if (done != own_file_)
            fontarel::delete_file(done);
}

void RecoveryWriter::append(const RecoveryEntry& entry) {
    if (!file_)
        return; // no base yet: the next base holds it
    int64_t written = 0;
    const ByteSink sink = [this](std::span<const uint8_t> bytes) { return file_->append(bytes); };
    if (!write_recovery_entry(entry, sink, written)) {
        give_up("cannot write " + own_file_);
        return;
    }
    journal_bytes_ += written;
    if (journal_bytes_ > std::max(base_bytes_, raw_bytes_))
        wants_base_ = true;
}

void RecoveryWriter::give_up(const std::string& why) {
    std::fprintf(stderr, "fontarel: recovery is off: %s\n", why.c_str());
    failed_ = true;
}

} // namespace fontarel
