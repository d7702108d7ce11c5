// File faults and debug capture as plugin code sees them through the C library's functions.
#include "file_faults.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "host.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Put(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

class FileFaultsTest : public ::testing::Test {
 protected:
  // Runs BODY as plugin code.
  template <typename Body>
  void AsPlugin(Body body) {
    sim::Host::PluginCall call(host_, sim::kPluginUnderTest);
    body();
  }
  fs::path At(const std::string& relative) const { return host_.resolve(relative); }

  sim::Host host_;
};

TEST_F(FileFaultsTest, ReadOnlyFolderRefusesChangesButNotReads) {
  Put(At("Locked/old.txt"), "old");
  Put(At("Open/free.txt"), "free");
  host_.fileFaults().setReadOnly("Locked", true);
  const std::string old = At("Locked/old.txt").string();
  const std::string fresh = At("Locked/fresh.txt").string();
  AsPlugin([&] {
    for (const char* mode : {"w", "a", "r+", "wx", "wb"}) {
      errno = 0;
      EXPECT_EQ(std::fopen(old.c_str(), mode), nullptr) << mode;
      EXPECT_EQ(errno, EROFS) << mode;
    }
    errno = 0;
    EXPECT_EQ(std::fopen(fresh.c_str(), "w"), nullptr);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(open(fresh.c_str(), O_WRONLY | O_CREAT, 0644), -1);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(open(old.c_str(), O_RDONLY | O_TRUNC), -1);
    EXPECT_EQ(creat(fresh.c_str(), 0644), -1);
    EXPECT_EQ(mkdir(At("Locked/sub").c_str(), 0755), -1);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(std::rename(old.c_str(), fresh.c_str()), -1);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(std::rename(At("Open/free.txt").c_str(), fresh.c_str()), -1);
    EXPECT_EQ(std::rename(old.c_str(), At("Open/moved.txt").c_str()), -1);
    EXPECT_EQ(std::remove(old.c_str()), -1);
    EXPECT_EQ(errno, EROFS);
    EXPECT_EQ(unlink(old.c_str()), -1);
    // An existing file opens for reading, O_CREAT or not.
    FILE* in = std::fopen(old.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, in), 3u);
    EXPECT_EQ(std::fclose(in), 0);
    const int fd = open(old.c_str(), O_RDONLY | O_CREAT, 0644);
    EXPECT_GE(fd, 0);
    if (fd >= 0) close(fd);
    // libstdc++'s streams go through the same functions.
    std::ofstream stream(fresh);
    EXPECT_FALSE(stream.is_open());
    // Elsewhere everything works.
    FILE* out = std::fopen(At("Open/new.txt").c_str(), "w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fputs("new", out), 1);
    EXPECT_EQ(std::fclose(out), 0);
    EXPECT_EQ(std::rename(At("Open/new.txt").c_str(), At("Open/renamed.txt").c_str()), 0);
  });
  EXPECT_EQ(Slurp(At("Locked/old.txt")), "old");
  EXPECT_FALSE(fs::exists(At("Locked/fresh.txt")));
  EXPECT_FALSE(fs::exists(At("Locked/sub")));
  EXPECT_EQ(Slurp(At("Open/renamed.txt")), "new");
}

TEST_F(FileFaultsTest, PathsCompareByComponentAfterNormalising) {
  host_.fileFaults().setReadOnly("Resources/plugins/Talvenor", true);
  fs::create_directories(At("Resources/plugins/Talvenor"));
  fs::create_directories(At("Resources/plugins/Talvenor2"));
  AsPlugin([&] {
    const std::string detour = At("Resources/plugins/Talvenor2/../Talvenor/./a.txt").string();
    EXPECT_EQ(std::fopen(detour.c_str(), "w"), nullptr);
    EXPECT_EQ(std::fopen((At("Resources/plugins/Talvenor").string() + "//b.txt").c_str(), "w"), nullptr);
    FILE* sibling = std::fopen(At("Resources/plugins/Talvenor2/a.txt").c_str(), "w");
    EXPECT_NE(sibling, nullptr);
    if (sibling != nullptr) std::fclose(sibling);
    // A path relative to an open folder is taken from that folder.
    const int folder = open(At("Resources/plugins").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    EXPECT_EQ(openat(folder, "Talvenor/c.txt", O_WRONLY | O_CREAT, 0644), -1);
    EXPECT_EQ(errno, EROFS);
    const int allowed = openat(folder, "Talvenor2/c.txt", O_WRONLY | O_CREAT, 0644);
    EXPECT_GE(allowed, 0);
    if (allowed >= 0) close(allowed);
    close(folder);
  });
  EXPECT_TRUE(host_.fileFaults().isReadOnly(At("Resources/plugins/Talvenor").c_str()));
  EXPECT_FALSE(host_.fileFaults().isReadOnly(At("Resources/plugins").c_str()));
  // A folder may also be given already resolved.
  host_.fileFaults().setReadOnly(At("Output"), true);
  EXPECT_TRUE(host_.fileFaults().isReadOnly(At("Output/x.txt").c_str()));
  EXPECT_FALSE(host_.fileFaults().isReadOnly(At("Outputs/x.txt").c_str()));
}

TEST_F(FileFaultsTest, WritableRestoresAFolderOrOpensASubfolder) {
  fs::create_directories(At("A/B"));
  host_.fileFaults().setReadOnly("A", true);
  host_.fileFaults().setReadOnly("A/B", false);
  EXPECT_TRUE(host_.fileFaults().isReadOnly(At("A/x").c_str()));
  EXPECT_FALSE(host_.fileFaults().isReadOnly(At("A/B/x").c_str()));
  AsPlugin([&] {
    FILE* inner = std::fopen(At("A/B/x").c_str(), "w");
    EXPECT_NE(inner, nullptr);
    if (inner != nullptr) std::fclose(inner);
    EXPECT_EQ(std::fopen(At("A/x").c_str(), "w"), nullptr);
  });
  host_.fileFaults().setReadOnly("A", false);
  EXPECT_FALSE(host_.fileFaults().isReadOnly(At("A/x").c_str()));
  AsPlugin([&] {
    FILE* outer = std::fopen(At("A/x").c_str(), "w");
    EXPECT_NE(outer, nullptr);
    if (outer != nullptr) std::fclose(outer);
    EXPECT_EQ(std::remove(At("A/x").c_str()), 0);
  });
}

TEST_F(FileFaultsTest, HostCodeIsNeverRefused) {
  host_.fileFaults().setReadOnly("Locked", true);
  host_.fileFaults().setDiskFull(0);
  fs::create_directories(At("Locked"));
  const std::string file = At("Locked/host.txt").string();
  FILE* out = std::fopen(file.c_str(), "w");
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::fwrite("host", 1, 4, out), 4u);
  EXPECT_EQ(std::fclose(out), 0);
  EXPECT_EQ(std::rename(file.c_str(), At("Locked/moved.txt").c_str()), 0);
  EXPECT_EQ(Slurp(At("Locked/moved.txt")), "host");
  EXPECT_EQ(std::remove(At("Locked/moved.txt").c_str()), 0);
  // The budget was not touched by the host's writes.
  EXPECT_TRUE(host_.fileFaults().diskFull());
}

TEST_F(FileFaultsTest, ServedFilesAreReadFromMemoryUntilThePluginChangesAFile) {
  const fs::path file = At("Aircraft/served.dat");
  Put(file, "on disk");
  Put(At("Aircraft/gone.dat"), "on disk");
  const std::string bytes("served\0bytes", 12);
  const std::string_view served = bytes;
  host_.fileFaults().serve(file, &served);
  host_.fileFaults().serve(At("Aircraft/gone.dat"), nullptr);
  EXPECT_FALSE(fs::exists(file));  // no stale copy for a call that does not come through stdio
  AsPlugin([&] {
    std::FILE* in = std::fopen(At("Aircraft/../Aircraft/served.dat").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    char read[32] = {};
    EXPECT_EQ(std::fread(read, 1, sizeof read, in), 12u);
    EXPECT_EQ(std::string(read, 12), bytes);
    EXPECT_EQ(std::fseek(in, -5, SEEK_END), 0);
    EXPECT_EQ(std::ftell(in), 7);
    EXPECT_EQ(std::fclose(in), 0);
    errno = 0;
    EXPECT_EQ(std::fopen(At("Aircraft/gone.dat").c_str(), "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(std::fclose(std::fopen(At("log.txt").c_str(), "a")), 0);  // any change: the disk takes over
  });
  EXPECT_EQ(Slurp(file), bytes);
  EXPECT_FALSE(fs::exists(At("Aircraft/gone.dat")));
}

TEST_F(FileFaultsTest, FullDiskCutsAWriteAtTheBudget) {
  host_.fileFaults().setDiskFull(10);
  const std::string file = At("data.bin").string();
  AsPlugin([&] {
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, "abcdef", 6), 6);
    EXPECT_EQ(write(fd, "ghijkl", 6), 4);  // exactly what is left
    errno = 0;
    EXPECT_EQ(write(fd, "m", 1), -1);
    EXPECT_EQ(errno, ENOSPC);
    close(fd);
  });
  EXPECT_EQ(Slurp(At("data.bin")), "abcdefghij");
  EXPECT_TRUE(host_.fileFaults().diskFull());
  host_.fileFaults().setDiskFull(std::nullopt);
  AsPlugin([&] {
    const int fd = open(file.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, "klm", 3), 3);
    close(fd);
  });
  EXPECT_EQ(Slurp(At("data.bin")), "abcdefghijklm");
}

TEST_F(FileFaultsTest, BufferedWritePastTheBudgetFailsAtFlushAndClose) {
  host_.fileFaults().setDiskFull(5);
  AsPlugin([&] {
    FILE* out = std::fopen(At("settings.ini").c_str(), "w");
    ASSERT_NE(out, nullptr);
    // Like stdio on a full disk: the small write is buffered and seems to succeed.
    EXPECT_EQ(std::fwrite("0123456789", 1, 10, out), 10u);
    EXPECT_EQ(std::fprintf(out, "%d\n", 42), 3);
    errno = 0;
    EXPECT_EQ(std::fflush(out), EOF);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_NE(std::ferror(out), 0);
    errno = 0;
    EXPECT_EQ(std::fclose(out), EOF);
    EXPECT_EQ(errno, ENOSPC);
  });
  EXPECT_EQ(Slurp(At("settings.ini")), "01234");
}

TEST_F(FileFaultsTest, EveryStdioWriteCountsAgainstTheBudget) {
  host_.fileFaults().setDiskFull(6);
  AsPlugin([&] {
    FILE* out = std::fopen(At("a.txt").c_str(), "w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fputs("ab", out), 1);
    EXPECT_EQ(std::fputc('c', out), 'c');
    EXPECT_EQ(putc('d', out), 'd');
    EXPECT_EQ(std::fprintf(out, "%s", "ef"), 2);
    EXPECT_EQ(std::fflush(out), 0);  // exactly the budget
    EXPECT_EQ(std::ferror(out), 0);
    EXPECT_EQ(std::fputc('g', out), 'g');
    EXPECT_EQ(std::fclose(out), EOF);
  });
  EXPECT_EQ(Slurp(At("a.txt")), "abcdef");
}

TEST_F(FileFaultsTest, WriteLargerThanAStdioBufferFailsAtOnce) {
  host_.fileFaults().setDiskFull(100);
  const std::string block(4 * BUFSIZ, 'x');
  AsPlugin([&] {
    FILE* out = std::fopen(At("big.bin").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    errno = 0;
    EXPECT_EQ(std::fwrite(block.data(), 1, block.size(), out), 100u);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_NE(std::ferror(out), 0);
    EXPECT_EQ(std::fclose(out), EOF);
  });
  EXPECT_EQ(fs::file_size(At("big.bin")), 100u);
}

TEST_F(FileFaultsTest, FullDiskFailsAStreamAndEndsWithOff) {
  host_.fileFaults().setDiskFull(3);
  AsPlugin([&] {
    std::ofstream out(At("log.txt"));
    ASSERT_TRUE(out.is_open());
    out << "a line that does not fit\n";
    out.close();
    EXPECT_TRUE(out.fail());
  });
  EXPECT_EQ(Slurp(At("log.txt")), "a l");
  host_.fileFaults().setDiskFull(std::nullopt);
  EXPECT_FALSE(host_.fileFaults().limited());
  AsPlugin([&] {
    FILE* out = std::fopen(At("log.txt").c_str(), "w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fputs("all of it\n", out), 1);
    EXPECT_EQ(std::fclose(out), 0);
  });
  EXPECT_EQ(Slurp(At("log.txt")), "all of it\n");
}

TEST_F(FileFaultsTest, StandardErrorOfPluginCodeIsCaptured) {
  AsPlugin([&] {
    std::fputs("fputs ", stderr);
    std::fprintf(stderr, "fprintf %d ", 7);
    std::fwrite("fwrite ", 1, 7, stderr);
    std::fputc('c', stderr);
    putc(' ', stderr);
    EXPECT_EQ(write(STDERR_FILENO, "write ", 6), 6);
    std::cerr << "cerr" << std::flush;
  });
  EXPECT_EQ(host_.debug().text(), "fputs fprintf 7 fwrite c write cerr");
  std::fputs("[host output: not captured]\n", stderr);
  EXPECT_EQ(host_.debug().text().find("host output"), std::string::npos);
}

}  // namespace
