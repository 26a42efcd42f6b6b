// What the classroom tests make alike: an assignment's code, and the working of the add-across mistake
// (numerators added over denominators added) that a class of pupils is given to make.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "classroom/Assignment.h"

// The code of an assignment that must encode (a test fails where it does not).
inline std::string CodeOf(const Assignment& a) {
  std::string code;
  EXPECT_EQ(EncodeAssignment(a, code), "");
  return code;
}

// Four sums of unlike fractions for a class, answered as mixed numbers.
inline Assignment ClassSumAssignment(AssignmentFeedback feedback, int seed = 5) {
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 4;
  a.controls.seed = seed;
  a.title = "5年2組 分数のたし算";
  a.finalForm = AssignmentFinal::Mixed;
  a.feedback = feedback;
  return a;
}

// "DbN+EbM" → the sum of numerators over the sum of denominators (the add-across mistake).
inline std::string AddAcross(const std::string& problem) {
  int d1 = 0, n1 = 0, d2 = 0, n2 = 0;
  EXPECT_EQ(std::sscanf(problem.c_str(), "%db%d+%db%d", &d1, &n1, &d2, &n2), 4) << problem;
  return std::to_string(d1 + d2) + "b" + std::to_string(n1 + n2);
}
