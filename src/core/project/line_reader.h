// Lines of a project file as a text-mode stream and a 1024-byte line buffer
// deliver them: CR LF arrives as LF, a lone CR stays, and a line longer than
// 1023 bytes is split, its remainder coming as the next line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

namespace pomeli2 {

// Reads chunks of the file: fills the buffer, returns the count, 0 at the end.
using ByteSource = std::function<size_t(char* buffer, size_t size)>;

class LineReader {
 public:
  static constexpr size_t kLineCapacity = 1023;

  explicit LineReader(ByteSource source) : source_(std::move(source)) {}

  // The next line with its LF, if it has one; false at the end.
  bool Next(std::string& line) {
    line.clear();
    while (line.size() < kLineCapacity) {
      // Plain bytes go over as a run; a line end, a CR and the buffer's end
      // go through Get(), which joins a CR LF split between two reads.
      if (!has_pending_ && pos_ < len_) {
        const char* from = buf_ + pos_;
        const size_t span = std::min(kLineCapacity - line.size(), len_ - pos_);
        size_t run = 0;
        while (run < span && from[run] != '\r' && from[run] != '\n') ++run;
        line.append(from, run);
        pos_ += run;
        if (run == span) continue;
      }
      const int c = Get();
      if (c < 0) break;
      line += static_cast<char>(c);
      if (c == '\n') break;
    }
    return !line.empty();
  }

 private:
  int Raw() {
    if (pos_ == len_) {
      if (eof_) return -1;
      len_ = source_(buf_, sizeof buf_);
      pos_ = 0;
      if (len_ == 0) {
        eof_ = true;
        return -1;
      }
    }
    return static_cast<unsigned char>(buf_[pos_++]);
  }

  int Get() {
    int c = has_pending_ ? pending_ : Raw();
    has_pending_ = false;
    if (c != '\r') return c;
    int next = Raw();
    if (next == '\n') return '\n';
    pending_ = next;
    has_pending_ = true;
    return c;
  }

  ByteSource source_;
  char buf_[65536];
  size_t pos_ = 0, len_ = 0;
  bool eof_ = false;
  int pending_ = -1;
  bool has_pending_ = false;
};

}  // namespace pomeli2
