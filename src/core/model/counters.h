// The five batch counters. A counter at its base means there is no batch.
#pragma once

namespace pomeli2 {

constexpr int kMoveSourceBase = 18000;
constexpr int kMoveNeighbourBase = 19000;
constexpr int kCutBase = 20000;
constexpr int kDeleteBase = 25000;
constexpr int kCopyBase = 30000;

// Live items must stay below the smallest batch mark, so that no pre-order
// number can ever equal a mark.
constexpr int kMaxItems = kMoveSourceBase - 1;

struct BatchCounters {
  int MoveSourceCounter = kMoveSourceBase;
  int MoveNeighbourCounter = kMoveNeighbourBase;
  int CutCounter = kCutBase;
  int DeleteCounter = kDeleteBase;
  int CopyCounter = kCopyBase;

  void Reset() { *this = BatchCounters{}; }
  bool CutBufferFull() const { return CutCounter != kCutBase; }
  bool CopyBufferFull() const { return CopyCounter != kCopyBase; }
};

}  // namespace pomeli2
