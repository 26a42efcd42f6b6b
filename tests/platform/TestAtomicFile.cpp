// The atomic file writer: a new file or a replaced one holds exactly the new bytes with the old file's
// permissions, and a writer that fails (no folder, a temporary file gone) leaves the old file as it was
// and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

mode_t Mode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

size_t Entries(const std::string& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissions) {
  const std::string dir = TempDir();
  const std::string path = dir + "/page.siki";
  ASSERT_TRUE(WriteAtomically(path, "first"));
  EXPECT_EQ(ReadBytes(path), "first");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteAtomically(path, std::string("second\0with a NUL", 17)));
  EXPECT_EQ(ReadBytes(path), std::string("second\0with a NUL", 17));
  EXPECT_EQ(Mode(path), 0640u);
  EXPECT_EQ(Entries(dir), 1u);
}

TEST(AtomicFile, TwoStepsForWritersThatNeedAName) {
  const std::string dir = TempDir();
  const std::string path = dir + "/sheet.pdf";
  std::ofstream(path, std::ios::binary) << "old sheet";
  ASSERT_EQ(::chmod(path.c_str(), 0604), 0);

  const std::string temporary = CreateTemporaryBeside(path, ".pdf");
  ASSERT_FALSE(temporary.empty());
  EXPECT_EQ(fs::path(temporary).parent_path(), fs::path(dir));
  EXPECT_EQ(fs::path(temporary).extension(), ".pdf");
  EXPECT_EQ(Mode(temporary), 0604u);
  std::ofstream(temporary, std::ios::binary) << "new sheet";
  EXPECT_EQ(ReadBytes(path), "old sheet");  // nothing changes before the replacement
  ASSERT_TRUE(ReplaceWithTemporary(temporary, path));
  EXPECT_EQ(ReadBytes(path), "new sheet");
  EXPECT_EQ(Entries(dir), 1u);

  // A temporary file that went away: the old file stays.
  const std::string gone = CreateTemporaryBeside(path, ".pdf");
  ASSERT_FALSE(gone.empty());
  ASSERT_EQ(::unlink(gone.c_str()), 0);
  EXPECT_FALSE(ReplaceWithTemporary(gone, path));
  EXPECT_EQ(ReadBytes(path), "new sheet");
  EXPECT_EQ(Entries(dir), 1u);
}

TEST(AtomicFile, AFolderThatIsNotThereFailsWithoutATrace) {
  const std::string dir = TempDir();
  EXPECT_FALSE(WriteAtomically(dir + "/missing/page.siki", "x"));
  EXPECT_EQ(CreateTemporaryBeside(dir + "/missing/sheet.pdf", ".pdf"), "");
  // The target is a folder: the rename fails and the temporary file is removed.
  fs::create_directory(dir + "/taken");
  EXPECT_FALSE(WriteAtomically(dir + "/taken", "x"));
  EXPECT_EQ(Entries(dir), 1u);
}
