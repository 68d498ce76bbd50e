// File access by number and the BMP writer's treatment of the file system.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/file_io.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {
namespace {

namespace fs = std::filesystem;

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
    std::vector<uint8_t> read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
};

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

TEST_F(FileIo, SaveThatRunsOutOfSpaceDeletesThePartialFile) {
    // A link to /dev/full opens fine and fails every write that reaches the device: a large image
    // fails in the pixel write, a small one only when the buffer is flushed at close. Deleting the
    // result removes the link, never the device.
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    HeadlessToolkit tk;
    ASSERT_NE(tk.create_image(0, 256, 256), 0);
    ASSERT_NE(tk.create_image(1, 2, 2), 0);
    for (int image : {0, 1}) {
        const std::string link = path("full" + std::to_string(image) + ".bmp");
        fs::create_symlink("/dev/full", link);
        EXPECT_EQ(tk.save_image_bmp(image, link), 0) << image;
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(link))) << image;
    }
}

} // namespace
} // namespace fontarel
