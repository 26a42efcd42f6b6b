// The snapshot of whole records: every field of every record it was made of is put back, whatever the
// code in its scope wrote, and snapshots in nested scopes unwind in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordSnapshot.h"

namespace {

struct LineRecord {
  std::string text = "1+2";
  int count = 3;
  std::vector<int> marks{1, 2};
};

struct FlagRecord {
  bool open = true;
};

TEST(RecordSnapshot, PutsBackEveryFieldOfEveryRecord) {
  LineRecord line;
  FlagRecord flag;
  {
    RecordSnapshot saved{line, flag};
    line.text = "changed";
    line.count = 0;
    line.marks.clear();
    flag.open = false;
  }
  EXPECT_EQ(line.text, "1+2");
  EXPECT_EQ(line.count, 3);
  EXPECT_EQ(line.marks, (std::vector<int>{1, 2}));
  EXPECT_TRUE(flag.open);
}

TEST(RecordSnapshot, NestedScopesUnwindInOrder) {
  LineRecord line;
  {
    RecordSnapshot outer{line};
    line.text = "outer";
    {
      RecordSnapshot inner{line};
      line.text = "inner";
    }
    EXPECT_EQ(line.text, "outer");
  }
  EXPECT_EQ(line.text, "1+2");
}

}  // namespace
