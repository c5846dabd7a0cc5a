// Lines of a project file as a text-mode stream and a 1024-byte line buffer
// deliver them: CR LF arrives as LF, a lone CR stays, and a line longer than
// 1023 bytes is split, its remainder coming as the next line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace pomeli2 {

// Reads chunks of the file: fills the buffer, returns the count, 0 at the end.
using ByteSource = std::function<size_t(char* buffer, size_t size)>;

class LineReader {
 public:
  static constexpr size_t kLineCapacity = 1023;

  explicit LineReader(ByteSource source) : source_(std::move(source)) {}

  // The next line, as a view that holds until the next call: into the read
  // buffer when the line lies whole in it, else into a line of its own.
  bool Next(std::string_view& line) {
    if (!has_pending_ && pos_ < len_) {
      char* from = buf_ + pos_;
      const size_t span = std::min(kLineCapacity, len_ - pos_);
      const void* cr = std::memchr(from, '\r', span);
      const size_t before_cr = cr ? static_cast<size_t>(static_cast<const char*>(cr) - from) : span;
      if (const void* lf = std::memchr(from, '\n', before_cr)) {
        const size_t length = static_cast<size_t>(static_cast<const char*>(lf) - from) + 1;
        line = {from, length};
        pos_ += length;
        return true;
      }
      // A CR LF read whole ends the line as its LF; the CR's byte is spent.
      if (cr && pos_ + before_cr + 1 < len_ && from[before_cr + 1] == '\n') {
        from[before_cr] = '\n';
        line = {from, before_cr + 1};
        pos_ += before_cr + 2;
        return true;
      }
    }
    const bool got = Next(slow_line_);
    line = slow_line_;
    return got;
  }

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
  std::string slow_line_;
  char buf_[65536];
  size_t pos_ = 0, len_ = 0;
  bool eof_ = false;
  int pending_ = -1;
  bool has_pending_ = false;
};

}  // namespace pomeli2
