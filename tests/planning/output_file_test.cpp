// The writer of every output file, by its own interface: bytes written and committed, a file
// abandoned or failed leaves nothing, a new file gets the mode of any new file, and two names
// of one file are told apart from two files.
#include "planning/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace linkcalc::planning {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("linkcalc-output-file-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
};

TEST_F(OutputFileTest, WhatIsWrittenAppearsOnlyOnCommit) {
    const std::string path = Path("project.txt");
    std::ofstream(path) << "before";
    {
        OutputFile file(path, "the project");
        file.Write("after, ");
        const std::string more = "by the descriptor";
        ASSERT_EQ(::write(file.Descriptor(), more.data(), more.size()),
                  static_cast<ssize_t>(more.size()));
        EXPECT_EQ(Contents(path), "before");
        EXPECT_EQ(Entries(), 2u);  // the file and its temporary one
        file.Commit();
    }
    EXPECT_EQ(Contents(path), "after, by the descriptor");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(OutputFileTest, AnAbandonedOrFailedFileLeavesNothing) {
    const std::string path = Path("project.txt");
    {
        OutputFile file(path, "the project");
        file.Write("half");
    }
    EXPECT_EQ(Entries(), 0u);
    {
        OutputFile file(path, "the project");
        try {
            file.Fail("the drawing broke");
        } catch (const OutputError& error) {
            EXPECT_EQ(std::string(error.what()), "cannot write the project: the drawing broke");
        }
        file.Abandon();
        EXPECT_EQ(Entries(), 0u);
        EXPECT_THROW(file.Commit(), OutputError);  // nothing left to put in place
    }
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(OutputFileTest, ANewFileGetsTheModeOfAnyNewFile) {
    const mode_t saved = ::umask(027);
    {
        OutputFile file(Path("new.txt"), "new.txt");
        file.Commit();
    }
    ::umask(saved);
    struct stat info {};
    ASSERT_EQ(::stat(Path("new.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(OutputFileTest, ANonRegularFileIsWrittenInPlaceOrRefused) {
    {
        OutputFile null("/dev/null", "/dev/null");
        null.Write("gone");
        null.Commit();
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    try {
        OutputFile folder(folder_.string(), "the folder");
        FAIL() << "a folder was taken";
    } catch (const OutputError& error) {
        EXPECT_EQ(std::string(error.what()), "cannot write the folder: Is a directory");
    }
    OutputFile full("/dev/full", "/dev/full");
    EXPECT_THROW(full.Write("x"), OutputError);
}

TEST_F(OutputFileTest, TwoNamesOfOneFileAreOneFile) {
    std::ofstream(Path("a.csv")) << "a";
    std::ofstream(Path("b.csv")) << "b";
    fs::create_hard_link(Path("a.csv"), Path("hard.csv"));
    fs::create_symlink("a.csv", Path("soft.csv"));
    fs::create_symlink("later.kml", Path("to-later.kml"));
    const auto same = [&](const std::string& x, const std::string& y) {
        const auto first = IdentityOfPath(x);
        const auto second = IdentityOfPath(y);
        return first && second && first->SameFileAs(*second);
    };
    EXPECT_TRUE(same(Path("a.csv"), Path("hard.csv")));
    EXPECT_TRUE(same(Path("a.csv"), Path("soft.csv")));
    EXPECT_TRUE(same(Path("a.csv"), (folder_ / "." / "a.csv").string()));
    EXPECT_FALSE(same(Path("a.csv"), Path("b.csv")));
    EXPECT_TRUE(same(Path("later.kml"), Path("to-later.kml")));
    EXPECT_TRUE(
        same(Path("later.kml"), (folder_ / ".." / folder_.filename() / "later.kml").string()));
    EXPECT_FALSE(same(Path("later.kml"), Path("other.kml")));
    EXPECT_FALSE(same("/dev/null", "/dev/null"));  // not a file one name overwrites for another
    const int fd = ::open(Path("a.csv").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(IdentityOfDescriptor(fd)->SameFileAs(*IdentityOfPath(Path("soft.csv"))));
    ::close(fd);
}

}  // namespace
}  // namespace linkcalc::planning
