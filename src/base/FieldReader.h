#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// Reads comma-separated fields the way the original's text input did:
// - a field ends at a comma or at a line end (CR LF, LF or CR);
// - blanks (spaces, tabs) before a field are skipped, and an unquoted field
//   loses its trailing blanks;
// - a field in double quotes loses the quotes and keeps the commas inside
//   (a doubled quote inside stands for one quote); anything between the
//   closing quote and the next delimiter is dropped;
//   an unclosed quote ends at the line end;
// - fields form one continuous stream across lines, so a record is simply the
//   next N fields, and an empty line reads as one empty field.
// It works on bytes, so it reads CP932 text as well as UTF-8: no second byte of
// a CP932 character is a comma, a quote or a line end.
class FieldReader {
 public:
  // `source` names the text in error messages (usually the file name).
  FieldReader(std::string text, std::string source);

  // True when every byte has been consumed.
  bool AtEnd() const { return pos_ >= text_.size(); }
  // True when nothing but blanks and line ends is left: files that end with an
  // extra empty line hold no further record.
  bool OnlyBlankLinesLeft() const;

  // The next field, or an error naming the source when the text has ended.
  Result<std::string> Next();

  // 1-based line of the next field, for messages.
  int Line() const { return line_; }
  const std::string& Source() const { return source_; }

 private:
  void SkipBlanks();
  bool AtLineEnd() const;
  void ConsumeLineEnd();
  void ConsumeDelimiter();

  std::string text_;
  std::string source_;
  size_t pos_ = 0;
  int line_ = 1;
};

// `value` written as one field that FieldReader reads back unchanged: as it
// is when the reader would keep it (no comma, no leading quote, no blanks at
// either end), else in double quotes with inner quotes doubled.
std::string FieldText(std::string_view value);

}  // namespace dovetail
