#include <gtest/gtest.h>

#include <sstream>

#include "lang/language_file.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Read(const std::string& bytes) {
  std::istringstream in(bytes);
  Entries entries;
  ReadLanguageEntries(in, [&entries](const std::string& key, const std::string& text) {
    entries.emplace_back(key, text);
  });
  return entries;
}

TEST(LanguageFile, AKeyEqualsSignAndTextEndedByCrLf) {
  EXPECT_EQ(Read("BOK=OK\r\n"), (Entries{{"BOK", "OK"}}));
}

TEST(LanguageFile, BlanksAroundTheEqualsSignBelongToKeyAndText) {
  EXPECT_EQ(Read("BOK = OK\r\n"), (Entries{{"BOK ", " OK"}}));
}

TEST(LanguageFile, OnlyTheFirstEqualsSignEndsTheKey) {
  EXPECT_EQ(Read("Sum=a=b\r\n"), (Entries{{"Sum", "a=b"}}));
}

TEST(LanguageFile, ALineStartingWithAnythingButALetterIsAComment) {
  EXPECT_EQ(Read("; x=1\r\n# x=2\r\n[x=3]\r\n/x=4\r\n9x=5\r\n\xC4x=6\r\n   \tKey=7\r\n"),
            (Entries{{"Key", "7"}}));
}

TEST(LanguageFile, ABlankLineAndLeadingControlBytesAreSkipped) {
  EXPECT_EQ(Read("\r\n\r\n\x01\x1F A=1\r\n\r\nB=2\r\n"), (Entries{{"A", "1"}, {"B", "2"}}));
}

TEST(LanguageFile, ACarriageReturnAloneEndsAnEntry) {
  EXPECT_EQ(Read("A=1\rB=2\r"), (Entries{{"A", "1"}, {"B", "2"}}));
}

TEST(LanguageFile, ALineFeedDoesNotEndAKey) {
  EXPECT_EQ(Read("Ke\r\ny=v\r\n"), (Entries{{"Ke\r\ny", "v"}}));
}

TEST(LanguageFile, LinesEndedByLineFeedsAloneDefineNothing) {
  EXPECT_EQ(Read("A=1\nB=2\nC=3\n"), Entries{});
}

TEST(LanguageFile, TheLastEntryWithoutALineBreakIsDropped) {
  EXPECT_EQ(Read("A=1\r\nB=2"), (Entries{{"A", "1"}}));
  EXPECT_EQ(Read("A=1\r\nKeyWithoutEquals"), (Entries{{"A", "1"}}));
}

TEST(LanguageFile, ABackslashBeforeTheLineEndContinuesTheText) {
  EXPECT_EQ(Read("T=one\\\r\n  two\r\n"), (Entries{{"T", "one\r\n  two"}}));
  // The byte after the carriage return is taken as its line feed, whatever it is.
  EXPECT_EQ(Read("T=one\\\rXtwo\r\n"), (Entries{{"T", "one\r\ntwo"}}));
}

TEST(LanguageFile, ABackslashEscapesNothingElse) {
  EXPECT_EQ(Read("P=C:\\\\x\\n\r\n"), (Entries{{"P", "C:\\\\x\\n"}}));
  EXPECT_EQ(Read("P=a\\\\\r\nB=b\r\n"), (Entries{{"P", "a\\\\"}, {"B", "b"}}));
}

TEST(LanguageFile, AContinuationAtTheEndOfTheFileIsDropped) {
  EXPECT_EQ(Read("A=1\r\nT=open\\\r"), (Entries{{"A", "1"}}));
  EXPECT_EQ(Read("A=1\r\nT=open\\\r\n"), (Entries{{"A", "1"}}));
  EXPECT_EQ(Read("A=1\r\nT=open\\"), (Entries{{"A", "1"}}));
}

TEST(LanguageFile, AByteOrderMarkTurnsTheFirstLineIntoAComment) {
  EXPECT_EQ(Read("\xEF\xBB\xBF" "BOK=OK\r\nBCancel=Cancel\r\n"), (Entries{{"BCancel", "Cancel"}}));
}

TEST(LanguageFile, BytesAreKeptAsTheyAre) {
  const std::string bytes = std::string("Z=\x00\x01\xFF\xE9", 6) + "\r\n";
  EXPECT_EQ(Read(bytes), (Entries{{"Z", std::string("\x00\x01\xFF\xE9", 4)}}));
}

TEST(LanguageFile, AHugeValueIsReadWhole) {
  const std::string value(5 * 1024 * 1024, 'v');
  const Entries entries = Read("Big=" + value + "\r\nSmall=s\r\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].second.size(), value.size());
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"Small", "s"}));
}

}  // namespace
