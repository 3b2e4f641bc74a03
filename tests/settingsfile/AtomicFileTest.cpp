#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "CfgTestSupport.h"
#include "settingsfile/AtomicFile.h"

using namespace orx;
using namespace orx::test;
using cfg::FileResult;

namespace {

void put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

TEST(WriteFileAtomically, ReplacesALongerFileWholeAndKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.file("a.cfg");
  put(path, std::string(10000, 'O'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(cfg::WriteFileAtomically(path, "new\r\n").result, FileResult::Ok);
  EXPECT_EQ(readFile(path), "new\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.cfg"});
}

TEST(WriteFileAtomically, ThroughASymlinkReplacesTheFileItNames) {
  TempDir dir;
  put(dir.file("real.cfg"), "old");
  ASSERT_EQ(::symlink("real.cfg", dir.file("link.cfg").c_str()), 0);
  ASSERT_EQ(cfg::WriteFileAtomically(dir.file("link.cfg"), "fresh").result, FileResult::Ok);
  EXPECT_EQ(readFile(dir.file("real.cfg")), "fresh");
  struct stat st {};
  ASSERT_EQ(::lstat(dir.file("link.cfg").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// The disk fills up half-way (a file size limit stands in for it).
TEST(WriteFileAtomically, AWriteFailingHalfWayKeepsTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string path = dir.file("keep.cfg");
  put(path, "old content");
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto status = cfg::WriteFileAtomically(path, std::string(5000, 'N'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(status.result, FileResult::Failed);
  EXPECT_EQ(status.error, EFBIG);
  EXPECT_EQ(readFile(path), "old content");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.cfg"});
}

// Root may write anywhere, so the write runs in a child that gives root up.
TEST(WriteFileAtomically, AFolderThatCannotBeWrittenKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("keep.cfg");
  put(path, "old content");
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const auto status = cfg::WriteFileAtomically(path, "new content");
    ::_exit(status.result == FileResult::Failed && status.error == EACCES ? 0 : 1);
  }
  int wstatus = 0;
  ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
  ::chmod(dir.path().c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(wstatus));
  EXPECT_EQ(WEXITSTATUS(wstatus), 0) << "1: the write did not fail as expected; 2: could not drop root";
  EXPECT_EQ(readFile(path), "old content");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.cfg"});
}

TEST(WriteFileAtomically, ADirectoryInTheWayIsRefused) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("sub.cfg").c_str(), 0755), 0);
  EXPECT_EQ(cfg::WriteFileAtomically(dir.file("sub.cfg"), "x").result, FileResult::Failed);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"sub.cfg"});
}

// A save killed between creating its temporary and renaming it leaves the
// temporary behind; the next save in that folder removes it, and nothing else.
TEST(WriteFileAtomically, TheNextSaveRemovesTemporariesOfDeadSaves) {
  TempDir dir;
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  const std::string stale = ".orx-save-" + std::to_string(dead) + "-0-0000abcd.tmp";
  const std::string live = ".orx-save-" + std::to_string(::getppid()) + "-0-0000abcd.tmp";
  for (const std::string& name : {stale, live, std::string("notes.orx-save-1-0-0000abcd.tmp")}) put(dir.file(name), "x");
  ASSERT_EQ(cfg::WriteFileAtomically(dir.file("a.cfg"), "new").result, FileResult::Ok);
  auto names = dir.entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{live, "a.cfg", "notes.orx-save-1-0-0000abcd.tmp"}));
}

TEST(WriteFileAtomically, CreateOnlyNeverReplacesAndLeavesNoStump) {
  TempDir dir;
  put(dir.file("log.csv"), "old");
  EXPECT_EQ(cfg::WriteFileAtomically(dir.file("log.csv"), "new", cfg::WriteMode::CreateOnly).result,
            FileResult::Exists);
  EXPECT_EQ(readFile(dir.file("log.csv")), "old");
  ASSERT_EQ(cfg::WriteFileAtomically(dir.file("new.csv"), "fresh", cfg::WriteMode::CreateOnly).result, FileResult::Ok);
  EXPECT_EQ(readFile(dir.file("new.csv")), "fresh");
  EXPECT_EQ(dir.entries().size(), 2u);
}

// The link of another user in a sticky world-writable folder (as /tmp) is not
// followed, whatever fs.protected_symlinks says; one's own link still is.
TEST(WriteFileAtomically, ALinkPlantedInASharedFolderIsRefused) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
  put(dir.file("victim"), "precious");
  ASSERT_EQ(::symlink("victim", dir.file("planted.cfg").c_str()), 0);
  ASSERT_EQ(::symlink("victim", dir.file("mine.cfg").c_str()), 0);
  if (::lchown(dir.file("planted.cfg").c_str(), ::geteuid() + 1000, ::getegid()) != 0)
    GTEST_SKIP() << "needs root to give a link to another user";
  ::chown(dir.path().c_str(), ::geteuid() + 2000, ::getegid());  // the folder is not ours either
  const auto status = cfg::WriteFileAtomically(dir.file("planted.cfg"), "evil");
  EXPECT_EQ(status.result, FileResult::Failed);
  EXPECT_EQ(status.error, EACCES);
  EXPECT_EQ(readFile(dir.file("victim")), "precious");
  EXPECT_EQ(cfg::WriteFileAtomically(dir.file("mine.cfg"), "mine").result, FileResult::Ok);
  EXPECT_EQ(readFile(dir.file("victim")), "mine");
  ::chown(dir.path().c_str(), ::geteuid(), ::getegid());
}
