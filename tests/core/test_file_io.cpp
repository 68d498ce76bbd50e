// File access by number and the BMP writer's treatment of the file system.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "toolkit/file_io.h"
#include "toolkit/headless/headless_toolkit.h"
#include "toolkit/locked_file.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh directory per test, removed afterwards.
class FileIo : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("fontarel_io_" + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::vector<uint8_t> read(const std::string& name) const { return read_file(path(name)); }

    fs::path dir_;
};

TEST_F(FileIo, ALockedFileIsHeldUntilClosedAndKeepsToItsLimit) {
    LockedFile missing;
    EXPECT_FALSE(missing.create(path("no/such/folder/x")));
    LockedFile file(10); // ten bytes over its life
    ASSERT_TRUE(file.create(path("a.new")));
    EXPECT_TRUE(lock_held(path("a.new")));
    LockedFile second;
    EXPECT_FALSE(second.create(path("a.new"))) << "its lock is held";
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(file.append(bytes));
    EXPECT_FALSE(file.append(bytes)) << "past the limit";
    EXPECT_FALSE(file.rename_to(path("no/such/folder/a")));
    ASSERT_TRUE(file.rename_to(path("a")));
    EXPECT_TRUE(lock_held(path("a"))) << "the lock goes with the rename";
    EXPECT_EQ(read("a").size(), 10u);
    std::vector<uint8_t> part;
    ASSERT_TRUE(read_file_part(path("a"), 8, 5, part));
    EXPECT_EQ(part, (std::vector<uint8_t>{1, 2}));
    file.close();
    EXPECT_FALSE(lock_held(path("a")));
    EXPECT_EQ(modified_seconds(path("missing")), -1);
}

// A program started with its standard input closed (as some launchers start it) gets descriptor 0
// for the first file it opens: the recovery file's lock, its reading and the lock test work there.
TEST_F(FileIo, LockedFilesWorkOnDescriptorZero) {
    const int saved = ::dup(0);
    ASSERT_GE(saved, 0);
    ::close(0);
    LockedFile first, second;
    const uint8_t bytes[3] = {7, 8, 9};
    const bool created = first.create(path("zero")) && first.append(bytes); // on descriptor 0
    const bool other = second.create(path("one"));
    first.close(); // descriptor 0 free again, and the lock on "zero" gone with it
    const bool one_held = lock_held(path("one")); // its test opens descriptor 0
    const bool zero_held = lock_held(path("zero"));
    second.close();
    std::vector<uint8_t> part;
    const bool read_part = read_file_part(path("zero"), 0, 3, part); // on descriptor 0
    ::dup2(saved, 0);
    ::close(saved);
    EXPECT_TRUE(created && other);
    EXPECT_FALSE(zero_held);
    EXPECT_TRUE(one_held);
    EXPECT_TRUE(read_part);
    EXPECT_EQ(part, (std::vector<uint8_t>{7, 8, 9}));
}

TEST_F(FileIo, SizeTellsMissingDirectoryAndFile) {
    EXPECT_EQ(file_size(""), -1);
    EXPECT_EQ(file_size(path("missing")), -1);
    EXPECT_EQ(file_size(dir_.string()), -2);
    write("empty", "");
    EXPECT_EQ(file_size(path("empty")), 0);
    write("five", "12345");
    EXPECT_EQ(file_size(path("five")), 5);
}

TEST_F(FileIo, WrittenBytesReadBackInOrderUntilTheEnd) {
    FileTable files;
    ASSERT_NE(files.create_for_writing(3, path("data")), 0);
    const uint8_t block[] = {0x00, 0xFF, 0x80};
    EXPECT_EQ(files.write_bytes(3, block, 3), 3);
    EXPECT_NE(files.write_byte(3, 0x1A), 0);
    EXPECT_NE(files.close_file(3), 0);
    EXPECT_EQ(file_size(path("data")), 4);

    ASSERT_NE(files.open_for_reading(3, path("data")), 0);
    EXPECT_EQ(files.at_end(3), 0);
    EXPECT_EQ(files.read_byte(3), 0x00);
    EXPECT_EQ(files.read_byte(3), 0xFF) << "bytes are unsigned";
    uint8_t rest[8] = {};
    EXPECT_EQ(files.read_bytes(3, rest, 8), 2) << "reads up to count";
    EXPECT_EQ(rest[0], 0x80);
    EXPECT_EQ(rest[1], 0x1A);
    EXPECT_EQ(files.at_end(3), 1);
    EXPECT_EQ(files.read_byte(3), -1);
    EXPECT_NE(files.close_file(3), 0);
    EXPECT_EQ(files.close_file(3), 0) << "already closed";
}

TEST_F(FileIo, AtEndIsTrueBeforeAnyReadOfAnEmptyFile) {
    write("empty", "");
    FileTable files;
    ASSERT_NE(files.open_for_reading(0, path("empty")), 0);
    EXPECT_EQ(files.at_end(0), 1);
    EXPECT_EQ(files.at_end(9), 1) << "unknown number";
    EXPECT_EQ(files.read_byte(9), -1);
}

TEST_F(FileIo, CreateCutsALongerFileAndOpenNeedsARegularFile) {
    write("long", std::string(100, 'x'));
    FileTable files;
    ASSERT_NE(files.create_for_writing(1, path("long")), 0);
    EXPECT_EQ(files.write_byte(1, 'y'), 1);
    EXPECT_NE(files.close_file(1), 0);
    EXPECT_EQ(read("long"), std::vector<uint8_t>{'y'});

    EXPECT_EQ(files.open_for_reading(1, path("missing")), 0);
    EXPECT_EQ(files.open_for_reading(1, dir_.string()), 0);
    EXPECT_EQ(files.open_for_reading(1, ""), 0);
    EXPECT_EQ(files.create_for_writing(1, path("no/such/dir/file")), 0);
    EXPECT_EQ(files.write_byte(1, 'z'), 0) << "failed opens leave no file under the number";
}

TEST_F(FileIo, DeleteRemovesFilesOnly) {
    write("gone", "1");
    EXPECT_NE(delete_file(path("gone")), 0);
    EXPECT_EQ(file_size(path("gone")), -1);
    EXPECT_EQ(delete_file(path("gone")), 0);
    fs::create_directory(path("sub"));
    EXPECT_EQ(delete_file(path("sub")), 0);
    EXPECT_EQ(file_size(path("sub")), -2);
}

TEST_F(FileIo, SaveImageBmpWritesTheEncodedBytes) {
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 5, 3), 0);
    ASSERT_NE(tk.begin_drawing(tk.image_target(0)), 0);
    tk.draw_box(1, 1, 2, 1, 255);
    tk.end_drawing();

    write("old.bmp", std::string(500, 'x')); // replaced, not appended to
    ASSERT_NE(tk.save_image_bmp(0, path("old.bmp")), 0);
    EXPECT_EQ(read("old.bmp"), encode_bmp(*tk.image(0)));
    EXPECT_EQ(file_size(path("old.bmp")), 54 + 3 * 16);
}

TEST_F(FileIo, FailedSaveReturnsZeroAndLeavesNoFile) {
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 4, 4), 0);
    EXPECT_EQ(tk.save_image_bmp(0, ""), 0);
    EXPECT_EQ(tk.save_image_bmp(0, path("no/such/dir/a.bmp")), 0);
    EXPECT_FALSE(fs::exists(path("no")));
    EXPECT_EQ(tk.save_image_bmp(5, path("b.bmp")), 0) << "no such image";
    EXPECT_FALSE(fs::exists(path("b.bmp")));
    EXPECT_EQ(tk.save_image_bmp(0, dir_.string()), 0) << "a directory cannot be replaced";
    EXPECT_EQ(file_size(dir_.string()), -2);
}

// The names in the test's folder, to see that no temporary file is left behind.
std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(FileIo, WholeFileWriteReplacesTheFileKeepingItsPermissionsAndLinks) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    write("font.fnt", std::string(100, 'x'));
    fs::permissions(path("font.fnt"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_NE(write_whole_file(path("font.fnt"), bytes), 0);
    EXPECT_EQ(read("font.fnt"), bytes);
    EXPECT_EQ(fs::status(path("font.fnt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // Through a link, the file it names gets the new bytes and the link stays a link.
    fs::create_symlink(path("font.fnt"), path("link.fnt"));
    ASSERT_NE(write_whole_file(path("link.fnt"), std::vector<uint8_t>{9}), 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path("link.fnt"))));
    EXPECT_EQ(read("font.fnt"), std::vector<uint8_t>{9});

    ASSERT_NE(write_whole_file(path("new.map"), {}), 0) << "an empty file is a file too";
    EXPECT_EQ(file_size(path("new.map")), 0);
    EXPECT_EQ(names_in(dir_), (std::vector<std::string>{"font.fnt", "link.fnt", "new.map"}));
}

TEST_F(FileIo, FailedWholeFileWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::vector<uint8_t> bytes(5000, 0xAB);
    const std::string old(300, 'o');
    // A hard-linked file is written in place, so there the old bytes must be written back.
    write("linked.fnt", old);
    fs::create_hard_link(path("linked.fnt"), path("alias.fnt"));
    // A disk that fills up at the start, in the middle and one byte before the end.
    for (int64_t space : {int64_t{0}, int64_t{1}, int64_t{4096}, int64_t{4999}}) {
        write("font.fnt", old);
        write("linked.fnt", old);
        EXPECT_EQ(write_whole_file(path("font.fnt"), bytes, space), 0) << space;
        EXPECT_EQ(read("font.fnt"), std::vector<uint8_t>(old.begin(), old.end())) << space;
        EXPECT_EQ(write_whole_file(path("linked.fnt"), bytes, space), 0) << space;
        EXPECT_EQ(read("alias.fnt"), std::vector<uint8_t>(old.begin(), old.end())) << space;
        EXPECT_EQ(names_in(dir_), (std::vector<std::string>{"alias.fnt", "font.fnt", "linked.fnt"}))
            << space;
        EXPECT_EQ(write_whole_file(path("fresh.fnt"), bytes, space), 0) << space;
        EXPECT_EQ(file_size(path("fresh.fnt")), -1) << space;
    }
    EXPECT_NE(write_whole_file(path("font.fnt"), bytes, 5000), 0) << "exactly enough space";

    EXPECT_EQ(write_whole_file("", bytes), 0);
    EXPECT_EQ(write_whole_file(path("no/such/dir/a.fnt"), bytes), 0);
    EXPECT_FALSE(fs::exists(path("no")));
    EXPECT_EQ(write_whole_file(dir_.string() + "/", bytes), 0) << "a folder is no file";
    fs::create_directory(path("sub"));
    EXPECT_EQ(write_whole_file(path("sub"), bytes), 0);
    EXPECT_TRUE(fs::is_directory(path("sub")));
    if (fs::exists("/dev/full")) {
        // A link to a device is refused, so the device itself is never replaced.
        fs::create_symlink("/dev/full", path("full.bmp"));
        EXPECT_EQ(write_whole_file(path("full.bmp"), bytes), 0);
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path("full.bmp"))));
    }
    EXPECT_EQ(names_in(dir_),
              (std::vector<std::string>{"alias.fnt", "font.fnt", "full.bmp", "linked.fnt", "sub"}));
}

// What the sync step saw each time it ran: the bytes of the file it was given and, at that moment,
// the bytes at the path being saved.
std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> seen_syncs;
std::string saved_path;
bool sync_works = true;

bool watched_sync(int descriptor) {
    // Through /proc, since the descriptor itself may be open for writing only.
    seen_syncs.emplace_back(read_file("/proc/self/fd/" + std::to_string(descriptor)),
                            read_file(saved_path));
    return sync_works;
}

TEST_F(FileIo, NewBytesAreSyncedBeforeTheyCountAndAFailedSyncKeepsTheOldFile) {
    const std::vector<uint8_t> fresh = {7, 7, 7};
    // Longer than the new bytes, so that a restore in place must lengthen the file again.
    const std::vector<uint8_t> old(300, 'o');
    saved_path = path("font.fnt");
    for (int c = 0; c < 4; ++c) {
        const bool in_place = c & 1; // a hard-linked file is not renamed over
        sync_works = c < 2;
        SCOPED_TRACE(std::string(in_place ? "in place" : "renamed") +
                     (sync_works ? "" : ", failing sync"));
        write("font.fnt", std::string(old.begin(), old.end()));
        if (in_place)
            fs::create_hard_link(path("font.fnt"), path("alias.fnt"));
        seen_syncs.clear();
        EXPECT_EQ(write_whole_file(saved_path, fresh, -1, watched_sync) != 0, sync_works);
        ASSERT_FALSE(seen_syncs.empty()) << "the sync step never ran";
        EXPECT_EQ(seen_syncs[0].first, fresh);
        EXPECT_EQ(seen_syncs[0].second, in_place ? fresh : old) << "replaced only after the sync";
        EXPECT_EQ(read("font.fnt"), sync_works ? fresh : old);
        if (in_place) {
            EXPECT_EQ(read("alias.fnt"), read("font.fnt"));
            fs::remove(path("alias.fnt"));
        }
        EXPECT_EQ(names_in(dir_), std::vector<std::string>{"font.fnt"}) << "no temporary left";
    }
}

// An ordinary user may write a 0666 file in root's 0755 folder, so a save of it must succeed too,
// and the file keeps its owner. Root's own save of that user's file hands the new file to the user.
TEST(FileIoAsAnotherUser, SavesOverAWritableFileInAFolderItMayNotWriteTo) {
    if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "needs root and setpriv (util-linux) to run a save as another user";
    // Under /tmp, which every user may pass through; the probe is copied there to be runnable.
    const fs::path dir =
        fs::path("/tmp") / ("fontarel_user_" + std::to_string(std::random_device{}()));
    fs::create_directory(dir);
    fs::permissions(dir, fs::perms(0755));
    fs::copy_file(FONTAREL_WRITE_PROBE, dir / "probe");
    const std::string font = (dir / "font.fnt").string();
    std::ofstream(font) << "old";
    fs::permissions(font, fs::perms(0666));
    const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups " +
                                (dir / "probe").string() + " " + font + " new";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    struct stat after {};
    EXPECT_EQ(::stat(font.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 0u) << "the file keeps its owner";
    EXPECT_EQ(read_file(font), (std::vector<uint8_t>{'n', 'e', 'w'}));

    // The owner, the group, or both differ from root's.
    for (const auto& [uid, gid] : {std::pair{65534u, 65534u}, {0u, 65534u}, {65534u, 0u}}) {
        EXPECT_EQ(::chown(font.c_str(), uid, gid), 0);
        EXPECT_NE(write_whole_file(font, std::vector<uint8_t>{1}), 0);
        EXPECT_EQ(::stat(font.c_str(), &after), 0);
        EXPECT_EQ(std::make_pair(after.st_uid, after.st_gid), std::make_pair(uid, gid));
    }
    EXPECT_EQ(names_in(dir), (std::vector<std::string>{"font.fnt", "probe"}));
    fs::remove_all(dir);
}

TEST_F(FileIo, BmpWriterOnAFullDiskKeepsTheOldPicture) {
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 256, 256), 0);
    write("old.bmp", "old picture");
    tk.disk_space = 54 + 100 * 768; // the headers and part of the pixel rows
    EXPECT_EQ(tk.save_image_bmp(0, path("old.bmp")), 0);
    EXPECT_EQ(read("old.bmp"),
              (std::vector<uint8_t>{'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
    EXPECT_EQ(names_in(dir_), std::vector<std::string>{"old.bmp"});
}

} // namespace
} // namespace fontarel
