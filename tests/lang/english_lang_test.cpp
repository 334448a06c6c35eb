#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "lang/language_file.h"
#include "lang/multilang.h"
#include "shell/data_folders.h"
#include "tests/shell/program_in_temp_folder.h"

namespace {

std::string EnglishFilePath() {
  const char* source = std::getenv("TONEMARK_SOURCE_DIR");
  return (std::filesystem::path(source != nullptr ? source : ".") / "resources" /
          "Tonemark.languages" / "English.lang")
      .string();
}

std::map<std::string, std::string> EnglishEntries() {
  std::ifstream in(EnglishFilePath(), std::ios::binary);
  std::map<std::string, std::string> entries;
  ReadLanguageEntries(in, [&entries](const std::string& key, const std::string& text) {
    entries[key] = text;
  });
  return entries;
}

// The captions the window shows before translation; English keeps them.
const std::map<std::string, std::string> DesignCaptions = {
    {"BOK", "OK"},
    {"BCancel", "Cancel"},
    {"BMinimize", "Minimize"},
    {"BOffLUT", "LUT Off"},
    {"BReset", "Reset"},
    {"LDisplay", "Display:"},
    {"LStandard", "Standard:"},
    {"BNextDisplay", "Next Display"},
    {"LLanguage", "Language:"},
    {"LBlack", "Black:"},
    {"LWhite", "White:"},
    {"LValue", "Value:"},
    {"LBalance", "Balance:"},
    {"LGamma", "Gamma:"},
    {"LReset", "Reset:"},
    {"LPos", "Point:"},
    {"BPrev", "Prev"},
    {"BNext", "Next"},
    {"BClearAll", "Clear All"},
    {"TabWelcome", "Welcome"},
    {"TabBlackPoint", "Black Point"},
    {"TabWhitePoint", "White Point"},
    {"TabGamma", "Gamma"},
    {"TabSharp", "Sharp"},
    {"TabColorBalance", "Color Balance"},
    {"TabCorrectionPoints", "Correction Points"},
    {"TabAllControls", "All Controls"},
    {"TabGrays", "Grays"},
    {"TabHighlights", "Highlights"},
    {"TabShadows", "Shadows"},
    {"TabGradient", "Gradient"},
    {"TabReferenceImage", "Reference Image"},
};

// Keys whose English wording is ours: the welcome and page help texts, the
// other state of the LUT button, the reference-image dialog and the messages.
const std::vector<std::string> WordedKeys = {
    "TWelcome",      "TBlackPoint",       "TWhitePoint",  "TGamma",      "TSharp",
    "TColorBalance", "TCorrectionPoints", "TAllControls", "TGrays",      "THighlights",
    "TShadows",      "TGradient",         "TReferenceImage", "BOnLUT",   "RefDlgTitle",
    "RefDlgFiles",   "MCurveNotSaved",    "MUnreadablePicture", "MCalibrationNotKept",
    "MNearlyUniform", "LRampRefused",    "MRampRefused", "MLoaderNotStarted", "MNoStartupFolder",
    "MNoCurveOfItsOwn", "MReapplyUnknownMonitor", "MReapplyNoCurve",
    "MLoaderNotHolding", "MHdrMode",      "MKWinLoadsProfile",
    "LPreviewInWindow", "MProfilesForSettings", "MProfileForSettings", "MWideColorMode",
    "MAdvancedColorUnknown", "MRampInDoubt", "MGammaRangeUnset", "MGammaRangeSet", "MSystemLoadsOtherProfile",
    "MSystemLoadsStaleProfile", "MProfileNotUpdated", "MRampInDoubtWindow",
    // the Wayland desktops' reasons
    "MGammaControlRefused", "MGammaControlTaken", "MOutputGone", "MLoaderUnreachable", "MWindowAdjustsOutput",
    "MHyprlandLoadsProfile", "MHyprlandRefusesControl", "MKWinTakesNoProfile", "MKWinDidNotApply",
    "MKWinDidNotAnswer", "MKWinDidNotKeep", "MNoKdeOutputManagement", "MGnomeNoRamp", "MGnomeGone", "MNoColord",
    "MNoRampInterface", "MNoProfileMaker",
    // the Wayland back-ends' other messages
    "MDisplayProblem", "MNoAnswer", "MNoWaylandLibrary", "MNoCompositor", "MCompositorConnectionBroke",
    "MSessionBusUnreachable", "MGnomeNoDescription", "MGnomeRefusesCalibration", "MGnomeWillNotKeep",
    "MProfileNotReadBack", "MProfileNotWritten", "MProfileMissing", "MColordKnowsNoDevice", "MColordListsNoProfiles",
    "MColordDidNotTakeProfile", "MColordDidNotFindProfile", "MColordDidNotRemoveProfile", "MColordDidNotAddProfile",
    "MColordDidNotMakeDefault", "MWaylandLibraryUnloadable", "MCompositorUnreachable", "MCompositorListsNoGlobals",
    "MKdeOutputManagementTooOld", "MKWinMadeNoConfiguration", "MKWinWillNotKeep", "MKWinLostSetAside",
    "MKWinDidNotGetBack", "MKWinShowsStored", "MProfilesNotTakenOff",
    // the X11 back-end's
    "MNoXDisplay", "MNoRandr", "MXServerNoOutputs"};

TEST(EnglishLanguageFile, KeepsEveryDesignCaption) {
  const auto entries = EnglishEntries();
  for (const auto& [key, caption] : DesignCaptions) {
    ASSERT_TRUE(entries.count(key)) << key;
    EXPECT_EQ(entries.at(key), caption) << key;
  }
}

TEST(EnglishLanguageFile, WordsEveryOtherKeyOfTheWindowAndNothingElse) {
  const auto entries = EnglishEntries();
  for (const std::string& key : WordedKeys) {
    ASSERT_TRUE(entries.count(key)) << key;
    EXPECT_FALSE(entries.at(key).empty()) << key;
  }
  EXPECT_EQ(entries.size(), DesignCaptions.size() + WordedKeys.size());
  EXPECT_EQ(entries.at("BOnLUT"), "LUT On");
}

TEST(EnglishLanguageFile, HelpTextsAreParagraphsOfPlainText) {
  const auto entries = EnglishEntries();
  for (const std::string& key : WordedKeys) {
    if (key.front() != 'T') continue;
    const std::string& text = entries.at(key);
    EXPECT_NE(text.find("\r\n\r\n"), std::string::npos) << key << " has one paragraph";
    EXPECT_EQ(text.find('\\'), std::string::npos) << key;
    EXPECT_LT(text.size(), 1200u) << key << " would overflow the help label";
  }
}

TEST(EnglishLanguageFile, EndsEveryLineWithCrLf) {
  const std::string bytes = ReadBytes(EnglishFilePath());
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_EQ(bytes[i - 1], '\r') << "at byte " << i;
    } else if (bytes[i] == '\r') {
      ASSERT_EQ(bytes[i + 1], '\n') << "at byte " << i;
    }
  }
}

TEST(EnglishLanguageFile, IsFoundInTheLanguagesFolderBesideTheProgram) {
  const ProgramInTempFolder program;
  std::filesystem::create_directory(program.folder.Path() / "Tonemark.languages");
  std::filesystem::copy_file(EnglishFilePath(),
                             program.folder.Path() / "Tonemark.languages" / "English.lang");
  TextTable.clear();
  LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  EXPECT_EQ(Translate("TabColorBalance"), "Color Balance");
  EXPECT_EQ(Translate("RefDlgFiles"), "JPEG images");
  BuildLanguageList(LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  EXPECT_EQ(LanguageList, std::vector<std::string>{"English"});
  TextTable.clear();
  LanguageList.clear();
}

}  // namespace
