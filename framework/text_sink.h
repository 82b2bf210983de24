// Where a renderer's text goes: kept whole in one string (for tests and
// callers that want the text), or written to a stream in blocks as it is
// made, so that rendering a large list never holds all of its text.
#ifndef FRAMEWORK_TEXT_SINK_H_
#define FRAMEWORK_TEXT_SINK_H_

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace Cordra {
namespace Frame {

class TextSink {
 public:
  // Keeps the text; Take() returns it.
  TextSink() = default;
  // Writes to `stream`, which must stay open while the sink is used; what is
  // left is written by Flush() or on destruction.
  explicit TextSink(FILE* stream) : stream_(stream) {}
  ~TextSink() { Flush(); }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  // The text not yet written: renderers append to it, and may change it up
  // to the last Commit().
  std::string& text() { return text_; }

  // The text so far is final; on a stream, a large enough block of it is
  // written out.
  void Commit() {
    if (stream_ && text_.size() >= kBlock) Flush();
  }

  // Writes what is held (stream only).
  void Flush() {
    if (!stream_ || text_.empty()) return;
    if (fwrite(text_.data(), 1, text_.size(), stream_) != text_.size() && error_ == 0) {
      error_ = errno != 0 ? errno : EIO;
    }
    text_.clear();
  }

  // The errno of the first write to the stream that failed, 0 when none did.
  int error() const { return error_; }

  // The whole text of a sink without a stream.
  std::string Take() { return std::move(text_); }

 private:
  static constexpr size_t kBlock = 1 << 16;
  FILE* stream_ = nullptr;
  std::string text_;
  int error_ = 0;
};

}  // namespace Frame
}  // namespace Cordra

// Appends to a string through a small buffer of its own: a rendered row is
// many short pieces, and each std::string append is a call and a check.
// Drain() (and the destructor) move what it holds to the string.
class PieceWriter {
 public:
  explicit PieceWriter(std::string* out) : out_(out) {}
  ~PieceWriter() { Drain(); }
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  void Put(std::string_view piece) {
    if (piece.size() > sizeof buf_ - used_) {
      Drain();
      if (piece.size() > sizeof buf_ / 2) {  // a long value goes straight on
        out_->append(piece);
        return;
      }
    }
    std::memcpy(buf_ + used_, piece.data(), piece.size());
    used_ += piece.size();
  }
  void Put(char c) {
    if (used_ == sizeof buf_) Drain();
    buf_[used_++] = c;
  }
  void PutBlanks(size_t count) {
    static const std::string blanks(256, ' ');
    while (count > 0) {
      const size_t n = count < blanks.size() ? count : blanks.size();
      Put(std::string_view(blanks.data(), n));
      count -= n;
    }
  }
  void Drain() {
    if (used_ == 0) return;
    out_->append(buf_, used_);
    used_ = 0;
  }

 private:
  std::string* out_;
  size_t used_ = 0;
  char buf_[8192];
};

#endif  // FRAMEWORK_TEXT_SINK_H_
