#include "lang/language_file.h"

namespace {

constexpr int CarriageReturn = 0x0D;
constexpr int LineFeed = 0x0A;
constexpr int LastSkippedByte = 0x20;
constexpr char Backslash = '\\';
constexpr char KeyEnd = '=';

class TLanguageReader {
 public:
  explicit TLanguageReader(std::istream& in) : in_(*in.rdbuf()) {}

  void Read(const TLanguageEntryHandler& entry) {
    for (int c = Next(); c != Eof; c = Next()) {
      if (c <= LastSkippedByte) continue;
      if (!IsLetter(c)) {
        SkipComment();
        continue;
      }
      std::string key(1, static_cast<char>(c));
      std::string text;
      if (!ReadKeyRest(key) || !ReadText(text)) return;
      entry(key, text);
    }
  }

 private:
  static constexpr int Eof = std::char_traits<char>::eof();

  // Bytes from 0x80 up are not letters here, whatever the code page says.
  static bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

  int Next() { return in_.sbumpc(); }

  void SkipComment() {
    for (int c = Next(); c != Eof && c != LineFeed; c = Next()) {
    }
  }

  // False when the input ends before the "=".
  bool ReadKeyRest(std::string& key) {
    for (int c = Next(); c != Eof; c = Next()) {
      if (c == KeyEnd) return true;
      key.push_back(static_cast<char>(c));
    }
    return false;
  }

  // False when the input ends before the carriage return that completes it.
  bool ReadText(std::string& text) {
    for (int c = Next(); c != Eof; c = Next()) {
      if (c == CarriageReturn) return true;
      if (c != Backslash) {
        text.push_back(static_cast<char>(c));
        continue;
      }
      const int escaped = Next();
      if (escaped == Eof) return false;
      if (escaped == CarriageReturn) {
        // The byte after the carriage return is taken as its line feed,
        // whatever it is.
        if (Next() == Eof) return false;
        text += "\r\n";
      } else {
        text.push_back(Backslash);
        text.push_back(static_cast<char>(escaped));
      }
    }
    return false;
  }

  std::streambuf& in_;
};

}  // namespace

void ReadLanguageEntries(std::istream& in, const TLanguageEntryHandler& entry) {
  TLanguageReader(in).Read(entry);
}
