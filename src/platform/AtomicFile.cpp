// Atomic replacement of a file: temporary file, flush to the device, rename.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

// Opens a new temporary file beside path (its name in tmp) with path's permissions; -1 on failure.
int OpenTemporary(const std::string& path, const std::string& suffix, std::string& tmp) {
  std::string tmpl = path + ".XXXXXX" + suffix;
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return -1;
  tmp.assign(name.data());
  // Keep the old file's permissions; a new file gets the usual ones (mkstemp makes it private).
  struct stat st;
  mode_t mode = 0644;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  // A failed chmod leaves a private file, which is still a sound file.
  (void)::fchmod(fd, mode);
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  std::string tmp;
  int fd = OpenTemporary(path, "", tmp);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

std::string CreateTemporaryBeside(const std::string& path, const std::string& suffix) {
  std::string tmp;
  int fd = OpenTemporary(path, suffix, tmp);
  if (fd < 0) return "";
  if (::close(fd) != 0) {
    ::unlink(tmp.c_str());
    return "";
  }
  return tmp;
}

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path) {
  bool ok = false;
  int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}
