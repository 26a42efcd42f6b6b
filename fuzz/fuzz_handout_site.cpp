// Fuzz target for the site address a teacher types for assignment links: any text is checked without
// crashing; an accepted address is used as it is and makes a link whose QR code encodes (the longest
// address and code there can be fit a QR code); a refused one always says why and the fallback or the
// default is used.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classroom/Assignment.h"
#include "handout/Handout.h"
#include "handout/QrCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4000) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string why = CheckSiteAddress(text);
  const std::string site = HandoutSite(text);
  if (why.empty() != (site == text)) std::abort();
  if (why.empty() && (text.size() > HANDOUT_SITE_MAX || text.rfind("http", 0) != 0)) std::abort();
  // The browser's own address stands in for an empty or refused setting only when it is sound itself.
  if (HandoutSite("", text) != site ||
      HandoutSite(text, "https://school.example/") != (why.empty() ? text : "https://school.example/"))
    std::abort();
  const std::string link = AssignmentLink(site, std::string(ASSIGNMENT_CODE_MAX, 'Z'));
  const QrMatrix m = MakeQrMatrix(link);
  if (m.Empty() || m.size != 17 + 4 * m.version) std::abort();
  // Any text at all: an empty matrix or a whole one, never a throw.
  const QrMatrix any = MakeQrMatrix(text);
  if (!any.Empty() && any.dark.size() != static_cast<size_t>(any.size) * static_cast<size_t>(any.size))
    std::abort();
  return 0;
}
