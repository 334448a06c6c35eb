#include "ramp/curve_file.h"

#include <cstdint>
#include <limits>
#include <sstream>

#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "ramp/file_port.h"

namespace {

constexpr size_t MaxDeviceNameLength = 32;
// Nothing in a curve file needs a longer line; the rest of a longer one is
// read past rather than held in memory.
constexpr size_t MaxKeptLineLength = 65536;
// Room for any 32-bit value with generous leading zeros.
constexpr size_t MaxTokenLength = 4096;
// A curve file is about 10 KB; reading stops well before a file that is not
// one could exhaust the memory.
constexpr size_t MaxCurveFileSize = 64 << 20;

// Reads a text file line by line and number by number, as the curve files
// have always been read: CR LF, LF or CR end a line; end of file gives empty
// lines and zeros.
class TCurveReader {
 public:
  explicit TCurveReader(std::istream& in) : in_(*in.rdbuf()) {}

  std::string ReadLine() {
    std::string line;
    for (int c = Peek(); c != Eof && c != '\r' && c != '\n'; c = Peek()) {
      if (line.size() < MaxKeptLineLength) line.push_back(static_cast<char>(c));
      in_.sbumpc();
    }
    SkipLineEnd();
    return line;
  }

  // Skips blanks and line breaks, takes the token up to the next blank or
  // control character, then discards the rest of its line.
  int32_t ReadInteger() {
    while (Peek() != Eof && IsSeparator(Peek())) in_.sbumpc();
    std::string token;
    bool tooLong = false;
    for (int c = Peek(); c != Eof && !IsSeparator(c); c = Peek()) {
      if (token.size() < MaxTokenLength) token.push_back(static_cast<char>(c));
      else tooLong = true;
      in_.sbumpc();
    }
    ReadLine();
    if (tooLong) throw TFileError(InvalidNumericInput);
    return token.empty() ? 0 : ParseInteger(token);
  }

  bool ReadFlag() { return ReadLine() == "TRUE"; }

 private:
  static constexpr int Eof = std::char_traits<char>::eof();

  int Peek() { return in_.sgetc(); }

  static bool IsSeparator(int c) { return c <= ' ' || c == 0x7F; }

  void SkipLineEnd() {
    const int c = Peek();
    if (c == '\r') {
      in_.sbumpc();
      if (Peek() == '\n') in_.sbumpc();
    } else if (c == '\n') {
      in_.sbumpc();
    }
  }

  static int32_t ParseInteger(const std::string& token) {
    size_t i = 0;
    bool negative = false;
    if (token[0] == '-' || token[0] == '+') {
      negative = token[0] == '-';
      i = 1;
    }
    if (i == token.size()) throw TFileError(InvalidNumericInput);
    int64_t magnitude = 0;
    for (; i < token.size(); ++i) {
      if (token[i] < '0' || token[i] > '9') throw TFileError(InvalidNumericInput);
      magnitude = magnitude * 10 + (token[i] - '0');
      if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1)
        throw TFileError(InvalidNumericInput);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) throw TFileError(InvalidNumericInput);
    return static_cast<int32_t>(value);
  }

  std::streambuf& in_;
};

// The fifteen adjustment fields in file order, after Standard.
template <class Curve>  // TRampCurve or const TRampCurve
auto AdjustmentFields(Curve& c) {
  return std::array{&c.Gamma, &c.GammaR, &c.GammaG, &c.GammaB, &c.Black,    &c.BlackR,   &c.BlackG,
          &c.BlackB, &c.White, &c.WhiteR, &c.WhiteG, &c.WhiteB, &c.BalanceR, &c.BalanceG,
          &c.BalanceB};
}

void AppendLine(std::string& text, const std::string& line) {
  text += line;
  text += "\r\n";
}

}  // namespace

std::string CurveFilePath(const std::string& folder, int32_t index) {
  return folder + "Tonemark" + std::to_string(index + 1) + ".lut";
}

std::string CurveFileErrorText(const std::string& path, const std::string& message) {
  return message.find(path) != std::string::npos ? message : path + ": " + message;
}

std::string CurveFileText(const TRampCurve& curve, const std::string& deviceName) {
  std::string text;
  text.reserve(8 * 1024);
  AppendLine(text, CurveFileHeader);
  AppendLine(text, deviceName.substr(0, std::min(deviceName.find('\0'), MaxDeviceNameLength)));
  AppendLine(text, std::to_string(curve.Standard));
  for (const int32_t* field : AdjustmentFields(curve)) AppendLine(text, std::to_string(*field));
  for (int level = 0; level < LevelCount; ++level) {
    AppendLine(text, curve.PointSet[level] ? "TRUE" : "FALSE");
    AppendLine(text, std::to_string(curve.Point[level]));
    AppendLine(text, std::to_string(curve.PointR[level]));
    AppendLine(text, std::to_string(curve.PointG[level]));
    AppendLine(text, std::to_string(curve.PointB[level]));
  }
  return text;
}

bool WriteCurveFile(const TRampCurve& curve, int32_t index, const std::string& path) {
  if (index < 0 || index >= DisplayCount) return false;
  WriteFileAtomically(path, CurveFileText(curve, Displays[index].MonitorInfo.DeviceName));
  return true;
}

bool ReadCurveFile(TRampCurve& curve, std::string& deviceName, const std::string& path) {
  std::string bytes;
  switch (FilePort::ReadFileBytes(path, MaxCurveFileSize, bytes)) {
    case FilePort::TReadOutcome::Missing: return false;
    case FilePort::TReadOutcome::Unreadable: throw TFileError("Unable to read " + path);
    case FilePort::TReadOutcome::Read: break;
  }
  ReadCurveText(curve, deviceName, bytes);
  return true;
}

void ReadCurveText(TRampCurve& curve, std::string& deviceName, const std::string& text) {
  std::istringstream in(text);
  TCurveReader reader(in);
  const bool version2 = reader.ReadLine() == CurveFileHeader;
  deviceName = reader.ReadLine();
  curve.Standard = version2 ? reader.ReadInteger() : 1;
  for (int32_t* field : AdjustmentFields(curve)) *field = reader.ReadInteger();
  for (int level = 0; level < LevelCount; ++level) {
    curve.PointSet[level] = reader.ReadFlag();
    curve.Point[level] = reader.ReadInteger();
    curve.PointR[level] = reader.ReadInteger();
    curve.PointG[level] = reader.ReadInteger();
    curve.PointB[level] = reader.ReadInteger();
  }
}
