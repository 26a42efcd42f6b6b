// Handing an assignment out: the site address a link may start with (a table of good and bad ones), the
// site the links use when the setting is empty or bad (the browser's own address, else the default), and
// the pupils' sheet: the band with the QR code, the title, the code in text and the link on every page,
// the problems below it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classroom/Assignment.h"
#include "handout/Handout.h"
#include "handout/QrCode.h"
#include "platform/RecordingCanvas.h"
#include "sheets/Sheet.h"

TEST(Handout, SiteAddresses) {
  struct Case {
    const char* text;
    bool good;
  };
  const Case cases[] = {
      {"https://www.example.ed.jp/kazoru/", true},
      {"http://192.168.1.10/kazoru/index.html", true},
      {"https://kazoru.example.org", true},
      {"", false},
      {"www.example.ed.jp/kazoru/", false},
      {"ftp://example.org/", false},
      {"https://", false},
      {"https:///kazoru/", false},
      {"https://example.org/ka zoru/", false},
      {"https://例え.jp/", false},
      {"https://example.org/\t", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CheckSiteAddress(c.text).empty(), c.good);
    EXPECT_EQ(HandoutSite(c.text), c.good ? std::string(c.text) : std::string(ASSIGNMENT_DEFAULT_SITE));
    // The browser's own address stands in for an empty or refused setting, when it is an address itself.
    EXPECT_EQ(HandoutSite(c.text, "http://school.example/kazoru/"),
              c.good ? c.text : "http://school.example/kazoru/");
    EXPECT_EQ(HandoutSite("", c.text), c.good ? std::string(c.text) : std::string(ASSIGNMENT_DEFAULT_SITE));
  }
  EXPECT_FALSE(CheckSiteAddress("https://" + std::string(HANDOUT_SITE_MAX, 'a')).empty());
}

namespace {

Assignment Sample(int count) {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = count;
  a.controls.seed = 524037;
  a.title = "5年2組 分数のたし算";
  return a;
}

std::vector<const CanvasOp*> Texts(const RecordingCanvas& c, const std::string& text) {
  std::vector<const CanvasOp*> found;
  for (const CanvasOp& op : c.ops)
    if (op.kind == CanvasOp::Kind::Text && op.text.find(text) != std::string::npos) found.push_back(&op);
  return found;
}

}  // namespace

TEST(Handout, EveryPageCarriesTheCodeAndTheLinkAboveTheProblems) {
  const SheetPaper paper{2300, 3300, 300, 3};  // A4 at 300 dots per inch, less the margins
  for (const int count : {20, 45}) {
    SCOPED_TRACE(count);
    const Assignment a = Sample(count);
    std::string code;
    ASSERT_EQ(EncodeAssignment(a, code), "");
    const std::string link = AssignmentLink("https://www.example.ed.jp/kazoru/", code);
    RecordingCanvas c;
    int breaks = 0;
    const int pages = DrawHandoutPages(c, a, code, link, paper, [&] {
      ++breaks;
      return true;
    });
    // As many pages as the practice sheet of the same problems on the page under the band.
    EXPECT_EQ(pages, count == 20 ? 1 : 3);
    EXPECT_EQ(breaks, pages - 1);
    // The title, the code grouped in fours and the link (in rows of the width) on every page.
    EXPECT_EQ(Texts(c, "課題：5年2組 分数のたし算").size(), static_cast<size_t>(pages));
    EXPECT_EQ(Texts(c, "コード：" + GroupedCode(code)).size(), static_cast<size_t>(pages));
    std::string linkRows;
    for (const CanvasOp& op : c.ops)
      if (op.kind == CanvasOp::Kind::Text && (op.text.rfind("https://", 0) == 0 || !linkRows.empty()) &&
          linkRows.size() < link.size())
        linkRows += op.text;
    EXPECT_EQ(linkRows, link);
    // The QR code's white square at the top left of each page, and the problems below it.
    const QrMatrix qr = MakeQrMatrix(link);
    int squares = 0, squareBottom = 0;
    for (const CanvasOp& op : c.ops)
      if (op.kind == CanvasOp::Kind::Fill && op.x == 0 && op.y == 0 && op.brushColor == CLR_WHITE &&
          op.x2 == op.y2 && op.x2 == QrDrawnSide(qr, op.x2 / (qr.size + 2 * QR_QUIET_ZONE))) {
        ++squares;
        squareBottom = op.y2;
      }
    EXPECT_EQ(squares, pages);
    ASSERT_FALSE(Texts(c, "[1]").empty());
    EXPECT_GT(Texts(c, "[1]")[0]->y, squareBottom);
    EXPECT_EQ(Texts(c, "[" + std::to_string(count) + "]").size(), 1u);
    EXPECT_TRUE(Texts(c, "[" + std::to_string(count + 1) + "]").empty());
  }
}

TEST(Handout, AnAssignmentThatMakesNoProblemsPrintsNothing) {
  Assignment a = Sample(20);
  a.controls.skill = "no-such-skill";
  RecordingCanvas c;
  EXPECT_EQ(
      DrawHandoutPages(c, a, "X", "https://example.org/#kadai=X", {2300, 3300, 300, 3}, [] { return true; }),
      0);
  EXPECT_TRUE(c.ops.empty());
}
