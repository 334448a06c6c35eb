#include "platform/windows/open_file_dialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

bool RunDialog(HWND owner, const TOpenDialogOptions& options, const std::string& initialFile, std::string& fileName,
               DWORD& error) {
  // "description|pattern|..." becomes the dialog's "description\0pattern\0...\0\0".
  std::string filter = options.Filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  std::vector<char> file(static_cast<size_t>(std::max(options.MaxFileNameLength, MAX_PATH)) + 1, '\0');
  std::copy_n(initialFile.begin(), std::min(initialFile.size(), file.size() - 1), file.begin());
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = options.InitialDir.empty() ? nullptr : options.InitialDir.c_str();
  dialog.lpstrTitle = options.Title.c_str();
  dialog.lpstrDefExt = options.DefaultExt.empty() ? nullptr : options.DefaultExt.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_PATHMUSTEXIST |
                 (options.FileMustExist ? OFN_FILEMUSTEXIST : 0) | (options.MultiSelect ? OFN_ALLOWMULTISELECT : 0);
  const bool chosen = GetOpenFileNameA(&dialog);
  error = chosen ? 0 : CommDlgExtendedError();
  if (chosen) fileName = file.data();
  return chosen;
}

}  // namespace

bool ExecuteOpenFileDialog(HWND owner, const TOpenDialogOptions& options, std::string& fileName) {
  DWORD error = 0;
  if (RunDialog(owner, options, options.FileName, fileName, error)) return true;
  // The dialog refuses to open at all on an initial name it cannot take (a
  // stored path with characters a file name cannot have): offer it without.
  return error == FNERR_INVALIDFILENAME && RunDialog(owner, options, "", fileName, error);
}
