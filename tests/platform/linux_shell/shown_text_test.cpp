#include <gtest/gtest.h>

#include "platform/linux/shell_desktop_entry.h"
#include "platform/linux/shown_text.h"

namespace {

TEST(Windows1252ToUtf8, MapsTheCodePagesOwnRangeAndLatin1) {
  EXPECT_EQ(Windows1252ToUtf8("\x80\x8a\x9f \xe9\xff \x81"), "€ŠŸ éÿ \xc2\x81");
  EXPECT_EQ(Windows1252ToUtf8("plain"), "plain");
}

TEST(ShownText, KeepsValidUtf8AndTakesAnythingElseAsWindows1252) {
  EXPECT_EQ(ShownText("Caf\xc3\xa9"), "Café");
  EXPECT_EQ(ShownText("Caf\xe9"), "Café");
  // An overlong form, a lone continuation byte, a cut-off sequence.
  EXPECT_EQ(ShownText("\xc0\xaf"), "À¯");
  EXPECT_EQ(ShownText("a\x93quoted\x94"), "a“quoted”");
  EXPECT_EQ(ShownText("\xe2\x82"), "â‚");
}

TEST(DesktopEntryText, NamesTheProgramInUtf8AndKeepsThePathsBytes) {
  const std::string text = DesktopEntryText("/opt/caf\xe9/tonew\xe9tch");
  EXPECT_NE(text.find("Name=tonewétch\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Exec=\"/opt/caf\xe9/tonew\xe9tch\"\n"), std::string::npos) << text;
}

}  // namespace
