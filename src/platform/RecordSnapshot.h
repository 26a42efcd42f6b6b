// A copy of whole state records taken when it is made and written back when it goes: the guard of code
// that must leave the program's state as it found it (a calculation run aside, a page drawn for paper).
// Each record is copied as one value, so a field added to a record is saved with the others.
//
//   RecordSnapshot saved{ProcessState, TypesetData};  // both records put back at the end of the scope
#pragma once

#include <tuple>

template <typename... Record>
class RecordSnapshot {
 public:
  explicit RecordSnapshot(Record&... live) : live_(live...), saved_(live...) {}
  ~RecordSnapshot() { live_ = saved_; }
  RecordSnapshot(const RecordSnapshot&) = delete;
  RecordSnapshot& operator=(const RecordSnapshot&) = delete;

 private:
  std::tuple<Record&...> live_;
  std::tuple<Record...> saved_;
};
