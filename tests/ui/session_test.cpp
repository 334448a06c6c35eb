// The editing session from creation to OK or Cancel, judged by what reached
// the simulated displays and the data folder.
#include <map>

#include "ramp/curve_file.h"
#include "shell/data_folders.h"
#include "shell/prepare_run.h"
#include "shell/shell_port.h"
#include "tests/ui/window_fixture.h"

namespace {

constexpr const char* CustomRampSection = "Rect=0,0,1920,1080";

// A ramp that no computation gives: entry = level x 200 + channel.
TGammaRamp StartRamp(int channel0) {
  TGammaRamp ramp{};
  for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 200 + channel0 + i / 256);
  return ramp;
}

std::string RampText(const TGammaRamp& ramp) {
  std::string text;
  for (uint16_t value : ramp) text += std::to_string(value) + " ";
  return text;
}

class SessionTest : public WindowTest {
 protected:
  bool DataFileExists(const std::string& name) const { return std::filesystem::exists(DataFile(name)); }
  // The loader's start-up entry that OK places: in a folder of the test's own
  // (tests/test_main.cpp; under Wine the build's own prefix), never the user's.
  static std::string StartupEntry() {
    const std::string folder = ShellPort::StartupFolder();
    EXPECT_FALSE(folder.empty());
    return folder + ShellPort::PathDelimiter() +
           ShortcutFileName(ProgramFolder() + LoaderFileName, ShellPort::StartupEntryExtension());
  }
  std::string FirstLine(const std::string& path) const {
    const std::string text = ReadBytes(path);
    return text.substr(0, text.find('\r'));
  }
};

TEST_F(SessionTest, WithOneDisplayTheDisplayChooserIsDisabled) {
  StartDisplays({CustomRampSection});
  CreateForm();
  EXPECT_FALSE(form->DisplayComboBox.Enabled);
  EXPECT_FALSE(form->DisplayLabel.Enabled);
  EXPECT_FALSE(form->NextDisplayButton.Enabled);
  EXPECT_EQ(form->DisplayComboBox.Items, (std::vector<std::string>{Displays[0].Name}));
  EXPECT_EQ(form->DisplayComboBox.ItemIndex, 0);
  EXPECT_EQ(form->StandardComboBox.Items.size(), 14u);
  EXPECT_EQ(form->StandardComboBox.ItemIndex, 0);
  EXPECT_TRUE(form->EventsEnabled);
  EXPECT_TRUE(form->Window.Visible);
  EXPECT_EQ(form->Window.Caption, "Orvana Tonemark 4.1.1");
  EXPECT_EQ(view.BroughtToFront, 1);
}

TEST_F(SessionTest, TheStartRampsAreSavedBeforeAnythingIsLoaded) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  CreateForm();
  const std::vector<std::string> log = LogLines();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "get 1 ok");
  EXPECT_EQ(log[1], "get 2 ok");
  EXPECT_EQ(log[2], "get 1 ok");  // display 0 becomes the edited one
  EXPECT_EQ(log[3].substr(0, 9), "set 1 ok ");
  EXPECT_EQ(LoadsInto(2), 0);
  EXPECT_EQ(SavedRamps.size(), 2u);
}

TEST_F(SessionTest, NextDisplayMovesTheWindowKeepsPageAndPointAndWrapsRound) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3200,1024"});
  CreateForm();
  EXPECT_TRUE(form->NextDisplayButton.Enabled);
  form->TabSet.SetTabIndex(6);
  form->PointPosUpDown.SetPosition(50);
  form->NextDisplayButton.Click();
  EXPECT_EQ(form->DisplayIndex, 1);
  EXPECT_EQ(CurrentDisplay, 1);
  EXPECT_EQ(form->DisplayComboBox.ItemIndex, 1);
  EXPECT_EQ(CurrentPage, 6);
  EXPECT_EQ(CurrentPoint, 50);
  EXPECT_EQ(form->Window.Left, 1920);
  EXPECT_EQ(form->Window.Top, 0);
  EXPECT_EQ(form->Window.Width, 1280);
  EXPECT_EQ(form->Window.Height, 1024);
  EXPECT_EQ(form->PointPanel.Left, 640 - 123);
  EXPECT_EQ(form->PointPanel.Top, 1024 - 53 - 142 - 16);
  EXPECT_EQ(form->OkButton.Left, 1280 - 104);
  EXPECT_TRUE(form->Window.Visible);
  EXPECT_EQ(LoadsInto(2), 1);
  form->NextDisplayButton.Click();
  EXPECT_EQ(form->DisplayIndex, 0);
  form->DisplayComboBox.Select(1);
  EXPECT_EQ(CurrentDisplay, 1);
  form->SelectDisplay(2);  // no such display
  EXPECT_EQ(CurrentDisplay, 1);
}

TEST_F(SessionTest, AnEditedDisplayKeepsItsRampWhenAnotherIsChosen) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  CreateForm();
  form->GammaUpDown.SetPosition(25);
  form->OffButton.Click();
  form->NextDisplayButton.Click();
  EXPECT_EQ(RampOf(1), LinearTestRamp());
  EXPECT_EQ(RampOf(2), IdentityRamp());  // its own record, computed
  EXPECT_TRUE(form->LutActive);
  EXPECT_EQ(form->OffButton.Caption, "BOffLUT");
  EXPECT_EQ(form->GammaUpDown.Position, 0);
  EXPECT_EQ(Curves[0].Gamma, 25);
}

TEST_F(SessionTest, CancelPutsBackEveryStartRampAndWritesNothing) {
  WriteBytes(SimFile("ramp1.txt"), RampText(StartRamp(1)));
  WriteBytes(SimFile("ramp2.txt"), RampText(StartRamp(2)));
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  CreateForm();
  form->BlackUpDown.SetPosition(30);
  form->NextDisplayButton.Click();
  form->WhiteUpDown.SetPosition(-30);
  form->OffButton.Click();
  form->CancelButton.Click();
  EXPECT_TRUE(view.Closed);
  EXPECT_TRUE(form->Closed);
  EXPECT_EQ(RampOf(1), StartRamp(1));
  EXPECT_EQ(RampOf(2), StartRamp(2));
  EXPECT_FALSE(DataFileExists("Tonemark1.lut"));
  EXPECT_FALSE(DataFileExists("Tonemark2.lut"));
  EXPECT_EQ(form->ReferenceJpeg, nullptr);
}

TEST_F(SessionTest, ClosingByTheSystemAlsoRestores) {
  WriteBytes(SimFile("ramp1.txt"), RampText(StartRamp(1)));
  StartDisplays({CustomRampSection});
  CreateForm();
  form->GammaUpDown.SetPosition(10);
  form->Close();
  EXPECT_EQ(RampOf(1), StartRamp(1));
  EXPECT_TRUE(view.Closed);
}

TEST_F(SessionTest, OkWritesACurveFileForEveryDisplayAndKeepsTheRamps) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080", "Rect=3840,0,5760,1080"});
  ShellPort::DeleteFileAt(StartupEntry());
  CreateForm();
  form->GammaUpDown.SetPosition(12);
  const TGammaRamp edited = RampOf(1);
  form->OffButton.Click();  // the file stores the computed curve all the same
  form->OkButton.Click();
  EXPECT_TRUE(view.Closed);
  EXPECT_TRUE(view.Messages.empty());
  for (const char* name : {"Tonemark1.lut", "Tonemark2.lut", "Tonemark3.lut"}) {
    ASSERT_TRUE(DataFileExists(name)) << name;
    EXPECT_EQ(FirstLine(DataFile(name)), "RampCurve v.2");
  }
  TRampCurve stored;
  std::string deviceName;
  ASSERT_TRUE(ReadCurveFile(stored, deviceName, DataFile("Tonemark1.lut")));
  EXPECT_EQ(stored.Gamma, 12);
  EXPECT_EQ(RampOf(1), LinearTestRamp());
  EXPECT_NE(edited, LinearTestRamp());
  EXPECT_TRUE(ShellPort::FileExists(StartupEntry()));
  ShellPort::DeleteFileAt(StartupEntry());
}

TEST_F(SessionTest, StoredCurvesAreReadAtTheStartAndShown) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  TRampCurve second;
  second.Standard = 2;
  second.BlackB = -9;
  WriteCurveFile(second, 1, DataFile("Tonemark2.lut"));
  CreateForm();
  EXPECT_EQ(Curves[1].BlackB, -9);
  form->NextDisplayButton.Click();
  EXPECT_EQ(form->BlackBUpDown.Position, -9);
  EXPECT_EQ(form->StandardComboBox.ItemIndex, 2);
  EXPECT_EQ(CurrentStandard, 2);
}

TEST_F(SessionTest, AnUnreadableCurveFileIsReportedAndNeverOverwritten) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080", "Rect=3840,0,5760,1080"});
  TRampCurve first;
  first.Gamma = 5;
  WriteCurveFile(first, 0, DataFile("Tonemark1.lut"));
  const std::string broken = "RampCurve v.2\r\n\\\\.\\DISPLAY2\r\n0\r\n3\r\nthree\r\n";
  WriteBytes(DataFile("Tonemark2.lut"), broken);
  CreateForm();
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_EQ(view.Messages[0], DataFile("Tonemark2.lut") + ": Invalid numeric input");
  // The session is complete all the same.
  EXPECT_TRUE(form->EventsEnabled);
  EXPECT_EQ(SavedRamps.size(), 3u);
  EXPECT_EQ(form->DisplayComboBox.Items.size(), 3u);
  EXPECT_EQ(form->StandardComboBox.Items.size(), 14u);
  EXPECT_EQ(Curves[0].Gamma, 5);
  EXPECT_EQ(Curves[1], TRampCurve{});
  EXPECT_EQ(Curves[2], TRampCurve{});

  form->NextDisplayButton.Click();
  form->GammaUpDown.SetPosition(40);
  form->OkButton.Click();
  EXPECT_TRUE(view.Closed);
  EXPECT_EQ(ReadBytes(DataFile("Tonemark2.lut")), broken);
  EXPECT_TRUE(DataFileExists("Tonemark1.lut"));
  EXPECT_TRUE(DataFileExists("Tonemark3.lut"));
  ASSERT_EQ(view.Messages.size(), 2u);
  EXPECT_NE(view.Messages[1].find("MCurveNotSaved"), std::string::npos);
  EXPECT_NE(view.Messages[1].find("Tonemark2.lut"), std::string::npos);
}

TEST_F(SessionTest, ACurveFileThatCannotBeWrittenKeepsTheWindowOpenForAnotherTry) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  std::filesystem::create_directory(DataFile("Tonemark2.lut"));  // in the way of the file
  ShellPort::DeleteFileAt(StartupEntry());
  CreateForm();
  form->WhiteUpDown.SetPosition(-20);
  form->NextDisplayButton.Click();
  form->BalanceRUpDown.SetPosition(8);
  form->OkButton.Click();
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_NE(view.Messages[0].find("Unable to write to"), std::string::npos);
  EXPECT_NE(view.Messages[0].find("Tonemark2.lut"), std::string::npos);
  EXPECT_FALSE(view.Closed);
  EXPECT_FALSE(form->Closed);
  EXPECT_TRUE(form->RestoreOnClose);
  // Nothing was stored, so the loader is not set to start either.
  EXPECT_FALSE(ShellPort::FileExists(StartupEntry()));
  ASSERT_NE(form->ReferenceJpeg, nullptr);
  EXPECT_EQ(Curves[0].White, -20);
  EXPECT_EQ(Curves[1].BalanceR, 8);
  // Still usable: another adjustment reaches the display.
  ClearLog();
  form->BalanceRUpDown.Step(true);
  EXPECT_EQ(LoadsInto(2), 1);

  std::filesystem::remove(DataFile("Tonemark2.lut"));
  form->OkButton.Click();
  EXPECT_TRUE(view.Closed);
  TRampCurve stored;
  std::string deviceName;
  ASSERT_TRUE(ReadCurveFile(stored, deviceName, DataFile("Tonemark2.lut")));
  EXPECT_EQ(stored.BalanceR, 9);
  ShellPort::DeleteFileAt(StartupEntry());
}

TEST_F(SessionTest, OkSaysWhyTheLoaderWillNotStartAtLogOnAndStillStoresTheCurves) {
  StartDisplays({CustomRampSection});
  // A file in place of the start-up folder: no entry can be written there.
  const std::filesystem::path folder = ShellPort::StartupFolder();
  std::filesystem::remove_all(folder);
  WriteBytes(folder.string(), "");
  CreateForm();
  form->GammaUpDown.SetPosition(4);
  form->OkButton.Click();
  std::filesystem::remove(folder);
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(view.Closed);
  EXPECT_EQ(FirstLine(DataFile("Tonemark1.lut")), "RampCurve v.2");
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_EQ(view.Messages[0], "MLoaderNotStarted\nUnable to write to " + StartupEntry());
}

TEST_F(SessionTest, CancelAfterAFailedOkStillRestores) {
  WriteBytes(SimFile("ramp1.txt"), RampText(StartRamp(1)));
  StartDisplays({CustomRampSection});
  std::filesystem::create_directory(DataFile("Tonemark1.lut"));
  CreateForm();
  form->GammaUpDown.SetPosition(3);
  form->OkButton.Click();
  EXPECT_FALSE(view.Closed);
  form->CancelButton.Click();
  EXPECT_TRUE(view.Closed);
  EXPECT_EQ(RampOf(1), StartRamp(1));
}

// OK on three displays when the file of the first, the middle or the last
// cannot be written: nothing on disk changes, neither then nor after Cancel.
class FailedOkTest : public SessionTest, public testing::WithParamInterface<int> {
 protected:
  // Every entry of the program folder with its bytes ("<folder>" for a
  // folder), and the start-up entry's.
  std::map<std::string, std::string> DiskState() const {
    std::map<std::string, std::string> state;
    for (const auto& entry : std::filesystem::directory_iterator(program.Path()))
      state[entry.path().filename().string()] =
          entry.is_directory() ? "<folder>" : ReadBytes(entry.path().string());
    state["start-up entry"] = ReadBytes(StartupEntry());
    return state;
  }
};

TEST_P(FailedOkTest, ChangesNoFileAndPlacesNoStartupEntry) {
  WriteBytes(SimFile("ramp2.txt"), RampText(StartRamp(2)));
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080", "Rect=3840,0,5760,1080"});
  const int failing = GetParam();
  for (int i = 0; i < 3; ++i) {
    const std::string file = DataFile("Tonemark" + std::to_string(i + 1) + ".lut");
    if (i == failing) {
      std::filesystem::create_directory(file);
    } else {
      TRampCurve stored;
      stored.Gamma = 10 * (i + 1);
      WriteCurveFile(stored, i, file);
    }
  }
  std::filesystem::create_directories(ShellPort::StartupFolder());
  WriteBytes(StartupEntry(), "an entry placed before");
  CreateForm();
  const std::map<std::string, std::string> before = DiskState();
  for (int i = 0; i < 3; ++i) {
    form->GammaUpDown.SetPosition(-50);
    form->NextDisplayButton.Click();
  }

  form->OkButton.Click();
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_EQ(view.Messages[0], "Unable to write to " + DataFile("Tonemark" + std::to_string(failing + 1) + ".lut"));
  EXPECT_FALSE(view.Closed);
  EXPECT_EQ(DiskState(), before);

  form->CancelButton.Click();
  EXPECT_TRUE(view.Closed);
  EXPECT_EQ(DiskState(), before);
  EXPECT_EQ(RampOf(2), StartRamp(2));
  ShellPort::DeleteFileAt(StartupEntry());
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleAndLastDisplay, FailedOkTest, testing::Values(0, 1, 2));

TEST_F(SessionTest, ARefusedRampIsSaidInTheBarWithoutAMessageBoxAndTheRecordKeepsTheChange) {
  StartDisplays({"Rect=0,0,1920,1080\nFail=set", "Rect=1920,0,3840,1080"});
  CreateForm();
  EXPECT_TRUE(form->RampRefusedLabel.Showing());
  EXPECT_EQ(form->RampRefusedLabel.Caption, "LRampRefused");
  EXPECT_EQ(form->RampRefusedLabel.Left, 5);
  EXPECT_EQ(form->RampRefusedLabel.Width, 1910);  // the window's width, 5 pixels in at either end
  form->GammaUpDown.SetPosition(50);
  EXPECT_EQ(Curves[0].Gamma, 50);
  EXPECT_TRUE(view.Messages.empty());
  EXPECT_EQ(LogLines().back().substr(0, 14), "set 1 refused ");
  form->NextDisplayButton.Click();
  EXPECT_FALSE(form->RampRefusedLabel.Showing());
  form->NextDisplayButton.Click();
  form->OffButton.Click();
  EXPECT_TRUE(form->RampRefusedLabel.Showing());
}

TEST_F(SessionTest, ThePicturePathAtTheStartIsLoaded) {
  WriteBytes(program.File("mine.jpg"), PpmPicture(5, 2));
  ReferenceImagePath = program.File("mine.jpg");
  StartDisplays({CustomRampSection});
  CreateForm();
  EXPECT_EQ(form->ReferenceJpeg->Width, 5);
  EXPECT_EQ(form->ReferenceJpeg->Height, 2);
}

TEST_F(SessionTest, ChoosingAReferencePictureChangesPathLabelAndPicture) {
  WriteBytes(program.File("first.jpg"), PpmPicture(5, 2));
  WriteBytes(program.File("broken.jpg"), "not a picture");
  ReferenceImagePath = program.File("first.jpg");
  StartDisplays({CustomRampSection});
  CreateForm();
  form->TabSet.SetTabIndex(12);
  dialog.Answers = {std::nullopt};
  form->FileLabel.Click();
  ASSERT_EQ(dialog.Shown.size(), 1u);
  const TOpenDialogOptions& options = dialog.Shown[0];
  EXPECT_EQ(options.Title, "RefDlgTitle");
  EXPECT_EQ(options.Filter, "RefDlgFiles (*.jpg)|*.jpg");
  EXPECT_EQ(options.DefaultExt, "jpg");
  EXPECT_EQ(options.InitialDir, program.Folder());
  EXPECT_EQ(options.FileName, program.File("first.jpg"));
  EXPECT_TRUE(options.FileMustExist);
  EXPECT_EQ(options.MaxFileNameLength, 5200);
  EXPECT_EQ(ReferenceImagePath, program.File("first.jpg"));
  EXPECT_EQ(form->FileLabel.Caption, "first.jpg");

  dialog.Answers = {program.File("broken.jpg")};
  form->FileLabel.Click();
  EXPECT_EQ(ReferenceImagePath, program.File("broken.jpg"));
  EXPECT_EQ(form->FileLabel.Caption, "broken.jpg");
  EXPECT_EQ(form->FileLabel.Left, 1920 - 70 - 60);
  EXPECT_EQ(form->ReferenceJpeg->Width, 5);  // the picture shown before stays
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_NE(view.Messages[0].find("broken.jpg"), std::string::npos);
}

TEST_F(SessionTest, LanguageAndPictureChosenInASessionEndedByCancelAreStored) {
  WriteLanguage("English", "BOK=OK\r\n");
  WriteLanguage("Deutsch", "BOK=Gut\r\n");
  WriteBytes(program.File("chosen.jpg"), PpmPicture(1, 1));
  StartDisplays({CustomRampSection});
  CreateForm();
  const auto& items = form->LangComboBox.Items;
  form->LangComboBox.Select(static_cast<int32_t>(std::find(items.begin(), items.end(), "Deutsch") - items.begin()));
  dialog.Answers = {program.File("chosen.jpg")};
  form->FileLabel.Click();
  form->CancelButton.Click();
  WriteSettings();  // as the program does once the window has closed
  CurrentLanguage = "English";
  ReferenceImagePath.clear();
  ReadSettings();
  EXPECT_EQ(CurrentLanguage, "Deutsch");
  EXPECT_EQ(ReferenceImagePath, program.File("chosen.jpg"));
}

}  // namespace
