// Atomic replacement of a file: temporary file, flush to the device, rename.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  std::string tmpl = path + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  std::string tmp(name.data());
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
  // A failed chmod leaves a private file, which is still a sound settings file.
  if (::fchmod(fd, mode) != 0) mode = 0600;
  bool ok = true;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}
