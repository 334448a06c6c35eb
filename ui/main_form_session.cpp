// The editing session: its start, switching displays and standards, the ramp
// off and on, minimising, the keyboard, languages, the reference picture and
// its end with OK or any other way of closing.
#include <algorithm>

#include "lang/multilang.h"
#include "paint/page_state.h"
#include "paint/target_standard.h"
#include "ramp/atomic_file.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"
#include "ramp/ramp_access.h"
#include "ramp/records.h"
#include "shell/calibration_keeper.h"
#include "shell/data_folders.h"
#include "shell/prepare_run.h"
#include "shell/settings_file.h"
#include "shell/shell_port.h"
#include "ui/main_form.h"

namespace {

constexpr int MaxDialogFileName = 5200;

std::string DataFolder() { return CommonDataFolder(ProductSubFolder); }

}  // namespace

void TMainForm::FormCreate() {
  ReferenceJpeg = std::make_unique<TBitmap>();
  if (ShellPort::FileExists(ReferenceImagePath)) LoadReferencePicture();
  LoadArtwork();
  DisplayIndex = 0;
  LayoutWindow();
  AppWelcomeLabel.SetCaption(ProductVersionName);
  FillLanguages();
  TranslateCaptions();
  ApplicationTitle = ApplicationTitleText;
  Window.Caption = ApplicationTitle;
  SaveRamps();
  // A desktop that shows the stored calibration itself would show the edited
  // one through it.
  const std::string notSetAside = CalibrationKeeper() ? CalibrationKeeper()->SetAsideForSession(DataFolder()) : "";
  if (!notSetAside.empty()) View.ShowMessage(notSetAside);
  RestoreOnClose = true;
  EventsEnabled = false;
  PointPosUpDown.SetPosition(CurrentPoint);
  LutActive = true;
  ReadCurveFiles();
  DoubleBuffered = true;
  const bool severalDisplays = DisplayCount > 1;
  NextDisplayButton.Enabled = severalDisplays;
  DisplayComboBox.Enabled = severalDisplays;
  DisplayLabel.Enabled = severalDisplays;
  DisplayComboBox.Clear();
  for (int32_t i = 0; i < DisplayCount; ++i) DisplayComboBox.Items.push_back(Displays[i].Name);
  DisplayComboBox.SetItemIndex(0);
  StandardComboBox.Clear();
  StandardComboBox.Items.assign(std::begin(TargetStandardNames), std::end(TargetStandardNames));
  StandardComboBox.SetItemIndex(0);
  SelectDisplay(0);
  EventsEnabled = true;
  View.BringToFront();
}

// A file that cannot be read is reported and the session goes on without
// it: the display starts from a fresh record, and OK leaves its file alone.
void TMainForm::ReadCurveFiles() {
  UnreadCurveFiles.assign(DisplayCount, false);
  const std::string folder = DataFolder();
  CurveFiles = AssignCurveFiles(folder);
  for (int32_t i = 0; i < DisplayCount && i < static_cast<int32_t>(Curves.size()); ++i) {
    const std::string path = AssignedCurvePath(folder, CurveFiles, i);
    std::string deviceName;
    try {
      if (!path.empty()) ReadCurveFile(Curves[i], deviceName, path);
    } catch (const TFileError& error) {
      Curves[i] = TRampCurve{};
      UnreadCurveFiles[i] = true;
      View.ShowMessage(CurveFileErrorText(path, error.what()));
    }
  }
}

void TMainForm::SelectDisplay(int32_t index) {
  if (index < 0 || index >= DisplayCount) return;
  DisplayIndex = index;
  const bool eventsEnabled = EventsEnabled;
  EventsEnabled = false;
  Window.Visible = false;
  ReadDisplayRamp(index);
  const TRect& monitor = Displays[index].MonitorInfo.Monitor;
  Window.SetBounds(monitor.Left, monitor.Top, monitor.Right - monitor.Left, monitor.Bottom - monitor.Top);
  AlignBar();
  DisplayComboBox.SetItemIndex(index);
  SyncControls();
  // Whether this display needs the notice, its first ramp tells.
  NoticePanel.Visible = false;
  ApplyCurve();
  ShowPage(CurrentPage);
  LayoutWindow();
  ArrangePage();
  EventsEnabled = eventsEnabled;
  Window.Visible = true;
}

void TMainForm::DisplayComboBoxChange() { SelectDisplay(DisplayComboBox.ItemIndex); }

void TMainForm::NextDisplayButtonClick() {
  int32_t next = DisplayComboBox.ItemIndex + 1;
  if (next == static_cast<int32_t>(DisplayComboBox.Items.size())) next = 0;
  SelectDisplay(next);
}

void TMainForm::StandardComboBoxChange() {
  if (DisplayIndex < 0 || DisplayIndex >= static_cast<int32_t>(Curves.size())) return;
  Curves[DisplayIndex].Standard = StandardComboBox.ItemIndex;
  ApplyCurve();
}

// The caption names what the next click does.
void TMainForm::OffButtonClick() {
  if (LutActive) {
    OffButton.Caption = Translate("BOnLUT");
    ShowRampLoaded(SetLinearRamp(CurrentDisplay));
  } else {
    OffButton.Caption = Translate("BOffLUT");
    ShowRampLoaded(SetCurveRamp(CurrentDisplay));
  }
  LutActive = !LutActive;
  if (PreviewInWindow) ShowPreview();
}

void TMainForm::MinimizeButtonClick() {
  StayOnTop = false;
  if (Background) Background->Hide();
  View.MinimizeApplication();
}

void TMainForm::FormKeyDown(uint16_t key, uint32_t shift) {
  if (key != VkTab || !(shift & ssCtrl)) return;
  TabSet.SelectNext(!(shift & ssShift));
}

void TMainForm::FillLanguages() {
  LangComboBox.OnChange = nullptr;
  LangComboBox.Clear();
  BuildLanguageList(LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  LangComboBox.Items = LanguageList;
  const std::string wanted = UpperCase(CurrentLanguage);
  const auto match = std::find_if(LanguageList.begin(), LanguageList.end(),
                                  [&](const std::string& name) { return UpperCase(name) == wanted; });
  LangComboBox.SetItemIndex(match == LanguageList.end() ? 0 : static_cast<int32_t>(match - LanguageList.begin()));
  CurrentLanguage = LangComboBox.Text();
  LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  LangComboBox.OnChange = [this] { LangComboBoxChange(); };
}

void TMainForm::LangComboBoxChange() {
  CurrentLanguage = LangComboBox.Text();
  LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  TranslateCaptions();
}

void TMainForm::FileLabelClick() {
  TOpenDialogOptions options;
  options.Title = Translate("RefDlgTitle");
  options.Filter = Translate("RefDlgFiles") + " (*.jpg)|*.jpg";
  options.DefaultExt = "jpg";
  options.InitialDir = FolderOf(ReferenceImagePath);
  options.FileName = ReferenceImagePath;
  options.FileMustExist = true;
  options.MultiSelect = false;
  options.MaxFileNameLength = MaxDialogFileName;
  std::string chosen;
  if (!FileDialog.Execute(options, chosen)) return;
  ReferenceImagePath = chosen;
  if (ShellPort::FileExists(ReferenceImagePath)) LoadReferencePicture();
  ShowPage(CurrentPage);
}

// A picture that does not decode leaves the one shown before, and says so.
void TMainForm::LoadReferencePicture() {
  if (!ReferenceJpeg || !Decoder) return;
  TBitmap picture;
  if (Decoder->DecodeFile(ReferenceImagePath, picture)) {
    *ReferenceJpeg = std::move(picture);
  } else {
    View.ShowMessage(Translate("MUnreadablePicture") + "\n" + ReferenceImagePath);
  }
}

void TMainForm::OkButtonClick() {
  RestoreOnClose = false;
  Close();
}

void TMainForm::CancelButtonClick() { Close(); }

void TMainForm::Close() {
  if (Closed || !FormClose()) return;
  Closed = true;
  View.WindowClosed();
}

bool TMainForm::FormClose() {
  if (RestoreOnClose) {
    ReferenceJpeg.reset();
    RestoreRamps();
    const std::string notPutBack = CalibrationKeeper() ? CalibrationKeeper()->PutBackAfterSession() : "";
    if (!notPutBack.empty()) View.ShowMessage(notPutBack);
    return true;
  }
  std::string skippedFiles;
  if (!StoreCurveFiles(skippedFiles)) {
    RestoreOnClose = true;
    return false;
  }
  KeepRamps();
  // The curves are stored whatever happens here; the user must still learn
  // that they will not be loaded at the next log-on.
  std::string whyNot;
  if (!CreateStartupShortcut(ProgramFolder() + LoaderFileName, &whyNot))
    View.ShowMessage(Translate("MLoaderNotStarted") + "\n" + (whyNot.empty() ? Translate("MNoStartupFolder") : whyNot));
  const std::string notHandedOver = CalibrationKeeper() ? CalibrationKeeper()->HandOverStoredCurves(DataFolder()) : "";
  if (!notHandedOver.empty()) View.ShowMessage(notHandedOver);
  if (!skippedFiles.empty()) View.ShowMessage(Translate("MCurveNotSaved") + skippedFiles);
  ReferenceJpeg.reset();
  return true;
}

// All or nothing: every display's file is written beside its target first,
// and only when all are written do they replace the files. A failure leaves
// every file as it was and every record here for another OK.
bool TMainForm::StoreCurveFiles(std::string& skippedFiles) {
  const std::string folder = DataFolder();
  ForceFolder(folder);
  TStagedFiles curveFiles;
  // Displays without a curve of their own get numbers that no other
  // monitor's curve holds; the record of whose curve is whose goes with them.
  TCurveAssignment owners = CurveFiles;
  if (static_cast<int32_t>(owners.Numbers.size()) != DisplayCount) owners = AssignCurveFiles(folder);
  ClaimCurveFiles(owners, folder);
  try {
    for (int32_t i = 0; i < DisplayCount && i < static_cast<int32_t>(Curves.size()); ++i) {
      const std::string path = AssignedCurvePath(folder, owners, i);
      if (i < static_cast<int32_t>(UnreadCurveFiles.size()) && UnreadCurveFiles[i])
        skippedFiles += "\n" + path;
      else
        curveFiles.Stage(path, CurveFileText(Curves[i], Displays[i].MonitorInfo.DeviceName));
    }
    curveFiles.Stage(folder + MonitorsFileName, MonitorsFileText(owners));
    curveFiles.Commit();
    CurveFiles = owners;
  } catch (const TFileError& error) {
    View.ShowMessage(error.what());
    return false;
  }
  return true;
}
