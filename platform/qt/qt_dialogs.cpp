#include "platform/qt/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <iostream>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_terms.h"

namespace {

// Dialogs stay above the calibration window, which is on top itself.
constexpr Qt::WindowFlags DialogFlags = Qt::Dialog | Qt::WindowStaysOnTopHint;

// "Pictures (*.jpg)|*.jpg": the description, with its pattern in brackets as
// Qt reads it.
QString QtFilter(const std::string& filter) {
  const size_t bar = filter.find('|');
  const QString description = ToQString(filter.substr(0, bar));
  if (bar == std::string::npos || description.endsWith(')')) return description;
  return description + " (" + ToQString(filter.substr(bar + 1)) + ")";
}

}  // namespace

void TQtMessageBoxes::ShowMessage(const std::string& caption, const std::string& text) {
  if (!WindowSystemReachable()) {
    TStreamMessages(std::cerr).ShowMessage(caption, text);
    return;
  }
  QtApplication();
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok, Owner, DialogFlags);
  box.exec();
}

bool ShowOpenFileDialog(QWidget* owner, const TOpenDialogOptions& options, std::string& fileName) {
  QFileDialog dialog(owner, ToQString(options.Title), QFile::decodeName(options.InitialDir.c_str()),
                     QtFilter(options.Filter));
  dialog.setWindowFlags(DialogFlags);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(options.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQString(options.DefaultExt));
  if (!options.FileName.empty()) dialog.selectFile(QFile::decodeName(options.FileName.c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
  return true;
}
