#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"
#include "tests/temp_folder.h"

namespace {

TEST(CurveFilePath, NumbersFromOne) {
  EXPECT_EQ(CurveFilePath("/data/", 0), "/data/Tonemark1.lut");
  EXPECT_EQ(CurveFilePath("C:\\Data\\", 11), "C:\\Data\\Tonemark12.lut");
}

TEST(CurveFileErrorText, NamesTheFileOnce) {
  EXPECT_EQ(CurveFileErrorText("/d/Tonemark1.lut", "Invalid numeric input"),
            "/d/Tonemark1.lut: Invalid numeric input");
  EXPECT_EQ(CurveFileErrorText("/d/Tonemark1.lut", "Unable to read /d/Tonemark1.lut"),
            "Unable to read /d/Tonemark1.lut");
}

// One display named \\.\DISPLAY1, as discovery would leave it.
class CurveFileTest : public testing::Test {
 protected:
  void SetUp() override {
    Displays.assign(1, TDisplay{});
    Displays[0].MonitorInfo.DeviceName = "\\\\.\\DISPLAY1";
    DisplayCount = 1;
  }
  void TearDown() override {
    Displays.clear();
    DisplayCount = 0;
  }

  std::vector<std::string> Lines(const std::string& path) {
    const std::string text = ReadBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
  }

  TRampCurve Read(const std::string& text) {
    WriteBytes(folder.File("in.lut"), text);
    TRampCurve curve;
    std::string device;
    EXPECT_TRUE(ReadCurveFile(curve, device, folder.File("in.lut")));
    return curve;
  }

  TempFolder folder;
};

// The lines of a version 2 file for `curve`, with `device` on line 2.
std::string Version2(const std::vector<std::string>& scalars16, int filledLevels = 256) {
  std::string text = "RampCurve v.2\r\nDEV\r\n";
  for (const std::string& value : scalars16) text += value + "\r\n";
  for (int level = 0; level < filledLevels; ++level) text += "FALSE\r\n0\r\n0\r\n0\r\n0\r\n";
  return text;
}

TEST_F(CurveFileTest, AResetRecordIsWrittenAs1298Lines) {
  ASSERT_TRUE(WriteCurveFile(TRampCurve{}, 0, folder.File("Tonemark1.lut")));
  const std::vector<std::string> lines = Lines(folder.File("Tonemark1.lut"));
  ASSERT_EQ(lines.size(), 1298u);
  EXPECT_EQ(lines[0], "RampCurve v.2");
  EXPECT_EQ(lines[1], "\\\\.\\DISPLAY1");
  for (int line = 3; line <= 18; ++line) EXPECT_EQ(lines[line - 1], "0") << line;
  for (int level = 0; level < 256; ++level) {
    EXPECT_EQ(lines[18 + 5 * level], "FALSE");
    for (int value = 1; value <= 4; ++value) EXPECT_EQ(lines[18 + 5 * level + value], "0");
  }
}

TEST_F(CurveFileTest, ValuesStandAtTheirLinesInPlainDecimal) {
  TRampCurve curve;
  curve.Standard = 4;
  curve.BlackR = -37;
  curve.BalanceB = 100;
  curve.PointSet[255] = true;
  curve.PointG[255] = -2147483647 - 1;
  ASSERT_TRUE(WriteCurveFile(curve, 0, folder.File("Tonemark1.lut")));
  const std::vector<std::string> lines = Lines(folder.File("Tonemark1.lut"));
  EXPECT_EQ(lines[3 - 1], "4");
  EXPECT_EQ(lines[9 - 1], "-37");  // BlackR, the eighth scalar after the name
  EXPECT_EQ(lines[18 - 1], "100");
  EXPECT_EQ(lines[19 + 5 * 255 - 1], "TRUE");
  EXPECT_EQ(lines[22 + 5 * 255 - 1], "-2147483648");
}

TEST_F(CurveFileTest, ALongDeviceNameIsCutAt32Characters) {
  Displays[0].MonitorInfo.DeviceName = std::string(40, 'x');
  ASSERT_TRUE(WriteCurveFile(TRampCurve{}, 0, folder.File("a.lut")));
  EXPECT_EQ(Lines(folder.File("a.lut"))[1], std::string(32, 'x'));
}

TEST_F(CurveFileTest, AWrittenRecordReadsBackIdentically) {
  TRampCurve curve;
  curve.Standard = 13;
  curve.Gamma = -100;
  curve.WhiteG = 55;
  curve.PointSet[0] = curve.PointSet[99] = true;
  curve.Point[0] = 100;
  curve.PointR[99] = -64;
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);  // leaves interpolated values, which must survive too
  ASSERT_TRUE(WriteCurveFile(curve, 0, folder.File("Tonemark1.lut")));

  TRampCurve read;
  std::string device;
  ASSERT_TRUE(ReadCurveFile(read, device, folder.File("Tonemark1.lut")));
  EXPECT_EQ(read, curve);
  EXPECT_EQ(device, "\\\\.\\DISPLAY1");
}

TEST_F(CurveFileTest, WritingForAnIndexThatIsNoDisplayTouchesNothing) {
  EXPECT_FALSE(WriteCurveFile(TRampCurve{}, 1, folder.File("Tonemark2.lut")));
  EXPECT_FALSE(WriteCurveFile(TRampCurve{}, -1, folder.File("Tonemark0.lut")));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(CurveFileTest, AMissingFileLeavesTheRecordAlone) {
  TRampCurve curve;
  curve.Gamma = 7;
  std::string device = "kept";
  EXPECT_FALSE(ReadCurveFile(curve, device, folder.File("Tonemark9.lut")));
  EXPECT_FALSE(ReadCurveFile(curve, device, folder.Folder()));  // a folder is no file
  EXPECT_EQ(curve.Gamma, 7);
  EXPECT_EQ(device, "kept");
}

TEST_F(CurveFileTest, AnyOtherFirstLineIsVersion1WithStandard1) {
  for (const std::string header : {"RampCurve v.1", "rampcurve v.2", "RampCurve v.2 ", ""}) {
    std::string text = header + "\r\nDEV\r\n";
    for (int field = 1; field <= 15; ++field) text += std::to_string(field) + "\r\n";
    text += "TRUE\r\n-5\r\n6\r\n7\r\n8\r\n";
    const TRampCurve curve = Read(text);
    EXPECT_EQ(curve.Standard, 1) << header;
    EXPECT_EQ(curve.Gamma, 1) << header;
    EXPECT_EQ(curve.BalanceB, 15) << header;
    EXPECT_TRUE(curve.PointSet[0]) << header;
    EXPECT_EQ(curve.Point[0], -5) << header;
    EXPECT_EQ(curve.PointB[0], 8) << header;
  }
}

TEST_F(CurveFileTest, OnlyExactlyTRUESetsAFlag) {
  std::string text = Version2(std::vector<std::string>(16, "0"), 0);
  for (const std::string flag : {"TRUE", "TRUE ", "true", "1", "", "True", " TRUE"})
    text += flag + "\r\n0\r\n0\r\n0\r\n0\r\n";
  const TRampCurve curve = Read(text);
  EXPECT_TRUE(curve.PointSet[0]);
  for (int level = 1; level <= 6; ++level) EXPECT_FALSE(curve.PointSet[level]) << level;
}

TEST_F(CurveFileTest, IntegersSkipBlanksAndBlankLinesAndIgnoreTheRestOfTheirLine) {
  const TRampCurve curve = Read(
      "RampCurve v.2\r\nDEV\r\n\r\n  \t 3 trailing words\r\n\r\n\r\n-12\r\n+8\r\n0042\n"
      "500\r20\r\n");
  EXPECT_EQ(curve.Standard, 3);
  EXPECT_EQ(curve.Gamma, -12);
  EXPECT_EQ(curve.GammaR, 8);
  EXPECT_EQ(curve.GammaG, 42);
  EXPECT_EQ(curve.GammaB, 500);  // no range check
  EXPECT_EQ(curve.Black, 20);
}

TEST_F(CurveFileTest, ATruncatedFileReadsTheRestAsZeroAndFalse) {
  TRampCurve curve;
  curve.PointSet.fill(true);
  curve.Point.fill(9);
  curve.WhiteB = 9;
  // Lines 1..100: header, name, 16 scalars, then levels 0..15 and the flag and
  // value of level 16.
  std::string text = "RampCurve v.2\r\nDEV\r\n";
  for (int line = 3; line <= 18; ++line) text += "1\r\n";
  for (int level = 0; level < 16; ++level) text += "TRUE\r\n2\r\n3\r\n4\r\n5\r\n";
  text += "TRUE\r\n2";
  WriteBytes(folder.File("in.lut"), text);
  std::string device;
  ASSERT_TRUE(ReadCurveFile(curve, device, folder.File("in.lut")));
  EXPECT_EQ(curve.WhiteB, 1);
  EXPECT_TRUE(curve.PointSet[16]);
  EXPECT_EQ(curve.Point[16], 2);
  EXPECT_EQ(curve.PointR[16], 0);
  for (int level = 17; level < 256; ++level) {
    ASSERT_FALSE(curve.PointSet[level]);
    ASSERT_EQ(curve.Point[level], 0);
  }
}

TEST_F(CurveFileTest, ATokenThatIsNoIntegerStopsTheReadWithAnError) {
  for (const std::string bad : {"12abc", "abc", "-", "1.5", "2147483648", "-2147483649",
                                "99999999999999999999", "\xE9"}) {
    WriteBytes(folder.File("bad.lut"), "RampCurve v.2\r\nDEV\r\n4\r\n-3\r\n" + bad + "\r\n7\r\n");
    TRampCurve curve;
    curve.GammaR = 11;
    curve.GammaG = 12;
    std::string device;
    try {
      ReadCurveFile(curve, device, folder.File("bad.lut"));
      ADD_FAILURE() << "no error for " << bad;
    } catch (const TFileError& error) {
      EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
    EXPECT_EQ(curve.Standard, 4) << bad;  // read before the bad token
    EXPECT_EQ(curve.Gamma, -3) << bad;
    EXPECT_EQ(curve.GammaR, 11) << bad;  // not reached
    EXPECT_EQ(curve.GammaG, 12) << bad;
  }
}

TEST_F(CurveFileTest, TheExtremesOf32BitsAreRead) {
  std::vector<std::string> scalars(16, "0");
  scalars[1] = "2147483647";
  scalars[2] = "-2147483648";
  const TRampCurve curve = Read(Version2(scalars));
  EXPECT_EQ(curve.Gamma, 2147483647);
  EXPECT_EQ(curve.GammaR, -2147483647 - 1);
}

TEST_F(CurveFileTest, BinaryAndHugeFilesNeverCrashTheReader) {
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
  WriteBytes(folder.File("binary.lut"), binary);
  TRampCurve curve;
  std::string device;
  try {
    ReadCurveFile(curve, device, folder.File("binary.lut"));
  } catch (const TFileError& error) {
    EXPECT_STREQ(error.what(), "Invalid numeric input");
  }

  // One line of 8 MB, then a valid number.
  WriteBytes(folder.File("long.lut"), std::string(8 << 20, 'A') + "\r\nDEV\r\n5\r\n");
  ASSERT_TRUE(ReadCurveFile(curve, device, folder.File("long.lut")));
  EXPECT_EQ(curve.Standard, 1);
  EXPECT_EQ(curve.Gamma, 5);
}

TEST_F(CurveFileTest, WritingIntoAMissingFolderRaisesAnErrorNamingThePath) {
  const std::string path = folder.File("missing/Tonemark1.lut");
  try {
    WriteCurveFile(TRampCurve{}, 0, path);
    ADD_FAILURE() << "the write reported success";
  } catch (const TFileError& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + path);
  }
}

TEST_F(CurveFileTest, AnExistingFileIsReplacedWhole) {
  WriteBytes(folder.File("Tonemark1.lut"), std::string(20000, 'z'));
  ASSERT_TRUE(WriteCurveFile(TRampCurve{}, 0, folder.File("Tonemark1.lut")));
  EXPECT_EQ(Lines(folder.File("Tonemark1.lut")).size(), 1298u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
      << "a temporary file was left";
}

}  // namespace
